#include "transfer/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace quorvex {

namespace {

// Every text here is ASCII, built in a small character buffer and turned into a QString once:
// the row copy converts every value of every row, so this is on its hot path.
class AsciiText {
  public:
    void Add(char c) { text_.push_back(c); }
    void Add(const char* begin, const char* end) { text_.append(begin, end); }
    void Add(const char* text) { text_.append(text); }
    void Repeat(char c, int count) {
        if (count > 0) {
            text_.append(static_cast<std::size_t>(count), c);
        }
    }
    // A non-negative number, left-padded with zeros to at least `width` digits.
    void Number(long long value, int width = 1) {
        char digits[24];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        Repeat('0', width - static_cast<int>(end - digits));
        Add(digits, end);
    }
    QString ToQString() const {
        return QString::fromLatin1(text_.data(), static_cast<qsizetype>(text_.size()));
    }

  private:
    std::string text_;
};

constexpr int kSignificantDigits = 15;
// Fixed notation for decimal exponents in this range, exponent form outside it.
constexpr int kLowestFixedExponent = -4;
constexpr int kHighestFixedExponent = kSignificantDigits - 1;

struct Decimal {
    bool negative = false;
    char digits[kSignificantDigits];  // significant digits, no trailing zeros
    int digitCount = 0;               // at least one
    int exponent = 0;                 // the first digit stands for d * 10^exponent
};

// Rounds to 15 significant digits and splits the result into sign, digits and decimal exponent.
// std::to_chars rounds the exact binary value correctly and, unlike printf, never looks at the
// process locale (a German LC_NUMERIC would turn the point into a comma).
Decimal RoundToSignificantDigits(double value) {
    char buffer[64];
    // "-d.dddddddddddddde+XXX"
    const char* const end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::scientific, kSignificantDigits - 1)
                                .ptr;
    const char* cursor = buffer;
    Decimal decimal;
    if (*cursor == '-') {
        decimal.negative = true;
        ++cursor;
    }
    for (; cursor != end && *cursor != 'e'; ++cursor) {
        if (*cursor >= '0' && *cursor <= '9' && decimal.digitCount < kSignificantDigits) {
            decimal.digits[decimal.digitCount++] = *cursor;
        }
    }
    if (cursor != end) {
        ++cursor;  // 'e'
        if (cursor != end && *cursor == '+') {
            ++cursor;
        }
        std::from_chars(cursor, end, decimal.exponent);
    }
    while (decimal.digitCount > 1 && decimal.digits[decimal.digitCount - 1] == '0') {
        --decimal.digitCount;
    }
    return decimal;
}

void AddFixedNotation(const Decimal& decimal, AsciiText& text) {
    const char* digits = decimal.digits;
    const int count = decimal.digitCount;
    if (decimal.exponent >= 0) {
        const int integerDigits = decimal.exponent + 1;
        if (count <= integerDigits) {
            text.Add(digits, digits + count);
            text.Repeat('0', integerDigits - count);
        } else {
            text.Add(digits, digits + integerDigits);
            text.Add('.');
            text.Add(digits + integerDigits, digits + count);
        }
    } else {
        text.Add("0.");
        text.Repeat('0', -decimal.exponent - 1);
        text.Add(digits, digits + count);
    }
}

void AddExponentNotation(const Decimal& decimal, AsciiText& text) {
    text.Add(decimal.digits[0]);
    if (decimal.digitCount > 1) {
        text.Add('.');
        text.Add(decimal.digits + 1, decimal.digits + decimal.digitCount);
    }
    text.Add(decimal.exponent < 0 ? "E-" : "E+");
    text.Number(std::abs(decimal.exponent), 2);
}

void AddDate(const QDate& date, AsciiText& text) {
    text.Number(date.month());
    text.Add('/');
    text.Number(date.day());
    text.Add('/');
    const int year = date.year();
    if (year < 0) {
        text.Add('-');
    }
    text.Number(std::abs(year), 4);
}

void AddTime(const QTime& time, AsciiText& text) {
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    text.Number(hour);
    text.Add(':');
    text.Number(time.minute(), 2);
    text.Add(':');
    text.Number(time.second(), 2);
    text.Add(time.hour() < 12 ? " AM" : " PM");
}

QString DateTimeText(const QDateTime& value) {
    if (!value.isValid()) {
        return QString();
    }
    AsciiText text;
    AddDate(value.date(), text);
    const QTime time = value.time();
    if (QTime(time.hour(), time.minute(), time.second()) != QTime(0, 0)) {
        text.Add(' ');
        AddTime(time, text);
    }
    return text.ToQString();
}

}  // namespace

QString DoubleText(double value) {
    if (!std::isfinite(value)) {
        return QString();
    }
    if (value == 0.0) {
        return QStringLiteral("0");
    }
    const Decimal decimal = RoundToSignificantDigits(value);
    AsciiText text;
    if (decimal.negative) {
        text.Add('-');
    }
    if (decimal.exponent >= kLowestFixedExponent && decimal.exponent <= kHighestFixedExponent) {
        AddFixedNotation(decimal, text);
    } else {
        AddExponentNotation(decimal, text);
    }
    return text.ToQString();
}

QString DateText(const QDate& date) {
    if (!date.isValid()) {
        return QString();
    }
    AsciiText text;
    AddDate(date, text);
    return text.ToQString();
}

QString TimeText(const QTime& time) {
    if (!time.isValid()) {
        return QString();
    }
    AsciiText text;
    AddTime(time, text);
    return text.ToQString();
}

QString ValueText(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Null:
            return QString();
        case Value::Kind::Boolean:
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case Value::Kind::Integer:
            return QString::number(value.toInteger());
        case Value::Kind::Double:
            return DoubleText(value.toDouble());
        case Value::Kind::Date:
            return DateText(value.toDate());
        case Value::Kind::Time:
            return TimeText(value.toTime());
        case Value::Kind::DateTime:
            return DateTimeText(value.toDateTime());
        case Value::Kind::Text:
            return value.toText();
        case Value::Kind::Bytes:
            return QString::fromLatin1(value.toBytes().toHex().toUpper());
    }
    return QString();
}

Value NullToDefault(Value value, Value defaultValue) {
    return value.isNull() ? defaultValue : value;
}

}  // namespace quorvex
