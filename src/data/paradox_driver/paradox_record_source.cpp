#include "data/paradox_driver/paradox_record_source.h"

#include "data/core/ado_types.h"
#include "data/core/failure.h"
#include "data/paradox/error.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QTimeZone>

#include <charconv>

namespace quorvex {

namespace {

using paradox::FieldType;

// Julian day of 0001-01-01, the day before Paradox's day 1.
constexpr qint64 kJulianDayBeforeDayOne = 1721425;

QDate ToDate(paradox::DayNumber day) {
    return QDate::fromJulianDay(kJulianDayBeforeDayOne + day.day);
}

double DecimalToDouble(const std::string& digits) {
    double number = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number;
}

template <typename Body>
auto Translated(Body body) -> decltype(body()) {
    try {
        return body();
    } catch (const paradox::Error& error) {
        throw Failure(QString::fromUtf8(error.what()));
    }
}

ParadoxTableFacts FactsOf(const paradox::Table& table) {
    ParadoxTableFacts facts;
    for (const paradox::Field& field : table.fields()) {
        facts.fields.push_back({QString::fromStdString(field.name), field.type, field.size,
                                AdoTypeOfParadoxField(field.type)});
    }
    facts.keyFieldCount = table.header().keyFieldCount;
    facts.codePage = table.codePage().number;
    facts.rowCount = static_cast<std::int64_t>(table.rowCount());
    return facts;
}

class ParadoxRecordSource : public ParadoxRows {
  public:
    ParadoxRecordSource(paradox::Table table, bool exactDecimals)
        : table_(std::move(table)), facts_(FactsOf(table_)), exactDecimals_(exactDecimals) {
        onRow_ = Translated([this] { return table_.next(); });
    }

    const ParadoxTableFacts& facts() const override { return facts_; }

    int fieldCount() const override { return static_cast<int>(table_.fields().size()); }

    QString fieldName(int index) const override {
        return QString::fromStdString(field(index).name);
    }

    int fieldType(int index) const override { return AdoTypeOfParadoxField(field(index).type); }

    Value fieldValue(int index) override {
        field(index);
        if (!onRow_) {
            throw Failure(
                QStringLiteral("There is no current row: the end of the table has "
                               "been reached."));
        }
        return Translated([&] {
            const paradox::Value value = table_.value(static_cast<std::size_t>(index));
            if (exactDecimals_ && value.kind() == paradox::Value::Kind::Decimal) {
                return Value::Text(QString::fromStdString(value.decimal().digits));
            }
            return ToDataValue(value);
        });
    }

    std::int64_t recordCount() const override {
        return static_cast<std::int64_t>(table_.rowCount());
    }

    bool atEnd() const override { return !onRow_; }

    void moveNext() override {
        if (!onRow_) {
            throw Failure(
                QStringLiteral("There is no next row: the end of the table has "
                               "been reached."));
        }
        onRow_ = Translated([this] { return table_.next(); });
    }

  private:
    const paradox::Field& field(int index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= table_.fields().size()) {
            throw Failure(QStringLiteral("The table has no field number %1.").arg(index));
        }
        return table_.fields()[static_cast<std::size_t>(index)];
    }

    paradox::Table table_;
    ParadoxTableFacts facts_;
    bool exactDecimals_ = false;
    bool onRow_ = false;
};

}  // namespace

int AdoTypeOfParadoxField(FieldType type) {
    switch (type) {
        case FieldType::Alpha:
            return adVarWChar;
        case FieldType::Memo:
            return adLongVarWChar;
        case FieldType::Date:
            return adDBDate;
        case FieldType::Short:
            return adSmallInt;
        case FieldType::Long:
        case FieldType::AutoIncrement:
            return adInteger;
        case FieldType::Money:
        case FieldType::Number:
        case FieldType::Bcd:
            return adDouble;
        case FieldType::Logical:
            return adBoolean;
        case FieldType::Bytes:
            return adBinary;
        case FieldType::Blob:
        case FieldType::FormattedMemo:
        case FieldType::Ole:
        case FieldType::Graphic:
            return adLongVarBinary;
        case FieldType::Time:
            return adDBTime;
        case FieldType::Timestamp:
            return adDBTimeStamp;
    }
    return adEmpty;
}

Value ToDataValue(const paradox::Value& value) {
    using Kind = paradox::Value::Kind;
    switch (value.kind()) {
        case Kind::Null:
            return Value::Null();
        case Kind::Logical:
            return Value::Boolean(value.logical());
        case Kind::Integer:
            return Value::Integer(value.integer());
        case Kind::Number:
            return Value::Double(value.number());
        case Kind::Decimal:
            return Value::Double(DecimalToDouble(value.decimal().digits));
        case Kind::Date:
            return Value::Date(ToDate(value.date()));
        case Kind::Time:
            return Value::Time(QTime::fromMSecsSinceStartOfDay(value.time().milliseconds));
        case Kind::Timestamp: {
            const std::int64_t ms = value.timestamp().milliseconds;
            const auto day = static_cast<std::int32_t>(ms / 86400000);
            const auto time = static_cast<int>(ms % 86400000);
            return Value::DateTime(QDateTime(ToDate(paradox::DayNumber{day}),
                                             QTime::fromMSecsSinceStartOfDay(time),
                                             QTimeZone::utc()));
        }
        case Kind::Text:
            return Value::Text(QString::fromStdString(value.text()));
        case Kind::Bytes: {
            const paradox::ByteVector& bytes = value.bytes();
            return Value::Bytes(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<qsizetype>(bytes.size())));
        }
    }
    return Value::Null();
}

std::unique_ptr<ParadoxRows> MakeParadoxRecordSource(paradox::Table table, bool exactDecimals) {
    return std::make_unique<ParadoxRecordSource>(std::move(table), exactDecimals);
}

}  // namespace quorvex
