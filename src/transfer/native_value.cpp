#include "transfer/native_value.h"

#include "data/core/failure.h"
#include "transfer/value_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace quorvex {

namespace {

// Doubles with this many significant digits or fewer are written as plain integers when whole.
constexpr int kDoubleDigits = 17;

[[noreturn]] void Refuse(const NativeColumn& column, const Value& value) {
    static const char* const kinds[] = {"NULL", "Boolean",   "integer", "number", "date",
                                        "time", "timestamp", "text",    "bytes"};
    const auto kind = static_cast<std::size_t>(value.kind());
    throw Failure(QStringLiteral("A %1 value%2 cannot be written into a %3 column.")
                      .arg(QLatin1String(kind < std::size(kinds) ? kinds[kind] : "other"),
                           value.kind() == Value::Kind::Time && !value.toTime().isValid()
                               ? QStringLiteral(" that is no time of day")
                               : QString(),
                           column.word));
}

QString Quoted(QString text) {
    text.replace(u'\'', QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

QString DayText(const QDate& day) {
    if (!day.isValid() || day.year() < 1 || day.year() > 9999) {
        throw Failure(QStringLiteral("The day %1 is outside the years 1 to 9999 Oracle takes.")
                          .arg(day.toString(Qt::ISODate)));
    }
    return QStringLiteral("%1-%2-%3")
        .arg(day.year(), 4, 10, QLatin1Char('0'))
        .arg(day.month(), 2, 10, QLatin1Char('0'))
        .arg(day.day(), 2, 10, QLatin1Char('0'));
}

QString ClockText(const QTime& time) {
    return QStringLiteral("%1:%2:%3.%4")
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(time.msec(), 3, 10, QLatin1Char('0'));
}

// The value as the kind of its column expects it, or nullopt for NULL.
std::optional<QString> PlainText(const NativeColumn& column, const Value& value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    switch (column.kind) {
        case NativeKind::Integer:
            if (value.kind() != Value::Kind::Integer) Refuse(column, value);
            return QString::number(value.toInteger());
        case NativeKind::Logical:
            if (value.kind() == Value::Kind::Boolean) {
                return QString(value.toBool() ? u'1' : u'0');
            }
            if (value.kind() != Value::Kind::Integer) Refuse(column, value);
            return QString(value.toInteger() != 0 ? u'1' : u'0');
        case NativeKind::Double:
            if (value.kind() == Value::Kind::Integer) {
                return ExactDoubleText(static_cast<double>(value.toInteger()));
            }
            if (value.kind() != Value::Kind::Double) Refuse(column, value);
            return ExactDoubleText(value.toDouble());
        case NativeKind::Decimal:
            if (value.kind() == Value::Kind::Text) {
                ExactDecimalText(value.toText());  // refuses anything but a decimal number
                return value.toText();
            }
            if (value.kind() == Value::Kind::Integer) {
                return QString::number(value.toInteger());
            }
            if (value.kind() != Value::Kind::Double) Refuse(column, value);
            if (!std::isfinite(value.toDouble())) {
                return std::nullopt;  // NUMBER holds no such value: NULL, reported by the caller
            }
            return ExactDoubleText(value.toDouble());
        case NativeKind::Date:
            if (value.kind() == Value::Kind::DateTime) {
                return DayText(value.toDateTime().date());
            }
            if (value.kind() != Value::Kind::Date) Refuse(column, value);
            return DayText(value.toDate());
        case NativeKind::Timestamp:
            if (value.kind() != Value::Kind::DateTime) Refuse(column, value);
            return DayText(value.toDateTime().date()) + u' ' + ClockText(value.toDateTime().time());
        case NativeKind::Time:
            if (value.kind() != Value::Kind::Time || !value.toTime().isValid()) {
                Refuse(column, value);
            }
            return QStringLiteral("0 ") + ClockText(value.toTime());
        case NativeKind::Text:
        case NativeKind::LongText:
            if (value.kind() != Value::Kind::Text) Refuse(column, value);
            return value.toText().isEmpty() ? std::nullopt : std::optional(value.toText());
        case NativeKind::Bytes:
        case NativeKind::Raw:
            if (value.kind() != Value::Kind::Bytes) Refuse(column, value);
            return value.toBytes().isEmpty()
                       ? std::nullopt
                       : std::optional(QString::fromLatin1(value.toBytes().toHex().toUpper()));
    }
    return std::nullopt;
}

}  // namespace

QString ExactDoubleText(double value) {
    if (std::isnan(value)) {
        return QStringLiteral("NaN");
    }
    if (std::isinf(value)) {
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    }
    // The shortest scientific form that reads back as the same double: "-1.0394500000000003e+05".
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const QString scientific = QString::fromLatin1(buffer, result.ptr - buffer);
    const qsizetype e = scientific.indexOf(u'e');
    QString mantissa = scientific.left(e);
    const bool negative = mantissa.startsWith(u'-');
    if (negative) {
        mantissa.remove(0, 1);
    }
    const qsizetype point = mantissa.indexOf(u'.');
    int exponent = scientific.mid(e + 1).toInt();
    if (point >= 0) {
        exponent -= static_cast<int>(mantissa.size() - point - 1);
        mantissa.remove(point, 1);
    }
    QString text = negative ? QStringLiteral("-") : QString();
    if (exponent >= 0 && mantissa.size() + exponent <= kDoubleDigits) {
        return text + mantissa + QString(exponent, u'0');
    }
    return text + mantissa +
           QStringLiteral("E%1%2").arg(exponent < 0 ? "-" : "+").arg(std::abs(exponent));
}

QString ExactDecimalText(const QString& decimal) {
    QString digits = decimal;
    const bool negative = digits.startsWith(u'-');
    if (negative) {
        digits.remove(0, 1);
    }
    const qsizetype point = digits.indexOf(u'.');
    const int scale = point < 0 ? 0 : static_cast<int>(digits.size() - point - 1);
    if (point >= 0) {
        digits.remove(point, 1);
    }
    const bool onlyDigits =
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const bool digitsAroundPoint = point < 0 || (point > 0 && scale > 0);
    if (digits.isEmpty() || !onlyDigits || !digitsAroundPoint) {
        throw Failure(QStringLiteral("\"%1\" is not a decimal number.").arg(decimal));
    }
    while (digits.size() > 1 && digits.front() == u'0') {
        digits.remove(0, 1);
    }
    if (digits == QLatin1String("0")) {
        return digits;
    }
    return (negative ? QStringLiteral("-") : QString()) + digits +
           (scale == 0 ? QString() : QStringLiteral("E-%1").arg(scale));
}

std::optional<QString> NativeLiteral(const NativeColumn& column, const Value& value,
                                     bool bindNonAsciiTexts) {
    const std::optional<QString> text = PlainText(column, value);
    if (!text) {
        return QStringLiteral("NULL");
    }
    switch (column.kind) {
        case NativeKind::Text:
        case NativeKind::LongText:
        case NativeKind::Bytes:
        case NativeKind::Raw:
            if (MustBeBound(value, bindNonAsciiTexts)) {
                return std::nullopt;
            }
            return column.kind == NativeKind::Text || column.kind == NativeKind::LongText
                       ? Quoted(*text)
                       : QStringLiteral("HEXTORAW('%1')").arg(*text);
        case NativeKind::Integer:
        case NativeKind::Logical:
        case NativeKind::Decimal:
            return *text;
        case NativeKind::Double:
            return QStringLiteral("TO_BINARY_DOUBLE('%1')").arg(*text);
        case NativeKind::Date:
            return QStringLiteral("DATE '%1'").arg(*text);
        case NativeKind::Timestamp:
            return QStringLiteral("TIMESTAMP '%1'").arg(*text);
        case NativeKind::Time:
            return QStringLiteral("INTERVAL '%1' DAY TO SECOND(3)").arg(*text);
    }
    return *text;
}

QString NativeMarker(NativeKind kind) {
    switch (kind) {
        case NativeKind::Double:
            return QStringLiteral("TO_BINARY_DOUBLE(?)");
        case NativeKind::Decimal:
            return QStringLiteral("TO_NUMBER(?)");
        case NativeKind::Date:
            return QStringLiteral("TO_DATE(?, 'YYYY-MM-DD')");
        case NativeKind::Timestamp:
            return QStringLiteral("TO_TIMESTAMP(?, 'YYYY-MM-DD HH24:MI:SS.FF3')");
        case NativeKind::Time:
            return QStringLiteral("TO_DSINTERVAL(?)");
        case NativeKind::Raw:
            return QStringLiteral("HEXTORAW(?)");
        default:
            return QStringLiteral("?");
    }
}

std::optional<QString> NativeBoundText(const NativeColumn& column, const Value& value) {
    std::optional<QString> text = PlainText(column, value);
    if (text && column.kind == NativeKind::Decimal && text->contains(u'.')) {
        text = ExactDecimalText(*text);
    }
    return text;
}

}  // namespace quorvex
