#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <cstdint>
#include <variant>

namespace quorvex {

// One field value of the current row: Null or a typed value. The row copy turns it into
// literal text; the kinds are those the two drivers deliver.
class Value {
  public:
    enum class Kind { Null, Boolean, Integer, Double, Date, Time, DateTime, Text, Bytes };

    Value() = default;  // Null
    static Value Null() { return Value(); }
    static Value Boolean(bool v) { return Value(v); }
    static Value Integer(std::int64_t v) { return Value(v); }
    static Value Double(double v) { return Value(v); }
    static Value Date(const QDate& v) { return Value(v); }
    static Value Time(const QTime& v) { return Value(v); }
    static Value DateTime(const QDateTime& v) { return Value(v); }
    static Value Text(const QString& v) { return Value(v); }
    static Value Bytes(const QByteArray& v) { return Value(v); }

    Kind kind() const { return static_cast<Kind>(payload_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // Each accessor expects the matching kind.
    bool toBool() const { return std::get<bool>(payload_); }
    std::int64_t toInteger() const { return std::get<std::int64_t>(payload_); }
    double toDouble() const { return std::get<double>(payload_); }
    QDate toDate() const { return std::get<QDate>(payload_); }
    QTime toTime() const { return std::get<QTime>(payload_); }
    QDateTime toDateTime() const { return std::get<QDateTime>(payload_); }
    QString toText() const { return std::get<QString>(payload_); }
    QByteArray toBytes() const { return std::get<QByteArray>(payload_); }

    friend bool operator==(const Value&, const Value&) = default;

  private:
    template <typename T>
    explicit Value(T v) : payload_(std::move(v)) {}

    // Order matches Kind.
    std::variant<std::monostate, bool, std::int64_t, double, QDate, QTime, QDateTime, QString,
                 QByteArray>
        payload_;
};

}  // namespace quorvex
