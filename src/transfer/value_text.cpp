#include "transfer/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quorvex {

namespace {

constexpr int kSignificantDigits = 15;
// Fixed notation for decimal exponents in this range, exponent form outside it.
constexpr int kLowestFixedExponent = -4;
constexpr int kHighestFixedExponent = kSignificantDigits - 1;

struct Decimal {
    bool negative;
    QString digits;  // significant digits, no trailing zeros, at least one
    int exponent;    // value = 0.d1d2d3... * 10^(exponent + 1), i.e. d1 is at 10^exponent
};

// Rounds to 15 significant digits and splits the result into sign, digits and decimal exponent.
// std::to_chars rounds the exact binary value correctly and, unlike printf, never looks at the
// process locale (a German LC_NUMERIC would turn the point into a comma).
Decimal RoundToSignificantDigits(double value) {
    char buffer[64];
    // "-d.dddddddddddddde+XXX"
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                      kSignificantDigits - 1);
    const char* const end = written.ptr;
    const char* cursor = buffer;
    Decimal decimal{false, QString(), 0};
    if (*cursor == '-') {
        decimal.negative = true;
        ++cursor;
    }
    for (; cursor != end && *cursor != 'e'; ++cursor) {
        if (*cursor >= '0' && *cursor <= '9') {
            decimal.digits += QLatin1Char(*cursor);
        }
    }
    int exponent = 0;
    if (cursor != end) {
        ++cursor;  // 'e'
        if (*cursor == '+') {
            ++cursor;
        }
        std::from_chars(cursor, end, exponent);
    }
    decimal.exponent = exponent;
    while (decimal.digits.size() > 1 && decimal.digits.endsWith(u'0')) {
        decimal.digits.chop(1);
    }
    return decimal;
}

QString FixedNotation(const Decimal& decimal) {
    QString text;
    if (decimal.exponent >= 0) {
        const int integerDigits = decimal.exponent + 1;
        text = decimal.digits.left(integerDigits);
        if (text.size() < integerDigits) {
            text += QString(integerDigits - text.size(), u'0');
        }
        if (decimal.digits.size() > integerDigits) {
            text += u'.';
            text += decimal.digits.mid(integerDigits);
        }
    } else {
        text = QStringLiteral("0.") + QString(-decimal.exponent - 1, u'0') + decimal.digits;
    }
    return text;
}

QString ExponentNotation(const Decimal& decimal) {
    QString text = decimal.digits.left(1);
    if (decimal.digits.size() > 1) {
        text += u'.';
        text += decimal.digits.mid(1);
    }
    text += decimal.exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    text += QStringLiteral("%1").arg(std::abs(decimal.exponent), 2, 10, QLatin1Char('0'));
    return text;
}

QString DateTimeText(const QDateTime& value) {
    if (!value.isValid()) {
        return QString();
    }
    const QTime time = value.time();
    const QTime wholeSeconds(time.hour(), time.minute(), time.second());
    if (wholeSeconds == QTime(0, 0)) {
        return DateText(value.date());
    }
    return DateText(value.date()) + u' ' + TimeText(time);
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
    const bool fixed =
        decimal.exponent >= kLowestFixedExponent && decimal.exponent <= kHighestFixedExponent;
    const QString magnitude = fixed ? FixedNotation(decimal) : ExponentNotation(decimal);
    return decimal.negative ? u'-' + magnitude : magnitude;
}

QString DateText(const QDate& date) {
    if (!date.isValid()) {
        return QString();
    }
    return QStringLiteral("%1/%2/%3")
        .arg(date.month())
        .arg(date.day())
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString TimeText(const QTime& time) {
    if (!time.isValid()) {
        return QString();
    }
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hour)
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
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
