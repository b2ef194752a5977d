#include "transfer/native_comparison.h"

#include "transfer/native_value.h"
#include "transfer/quoted_name.h"

#include <QRegularExpression>
#include <QStringList>

#include <charconv>

namespace quorvex {

namespace {

QString Padded(int number, int width) {
    return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

QString DayForm(const QDate& day) {
    return Padded(day.year(), 4) + u'-' + Padded(day.month(), 2) + u'-' + Padded(day.day(), 2);
}

QString ClockForm(const QTime& time) {
    return Padded(time.hour(), 2) + u':' + Padded(time.minute(), 2) + u':' +
           Padded(time.second(), 2) + u'.' + Padded(time.msec(), 3);
}

// A decimal number's text (plain, with a leading "." as Oracle writes 0.5, or with an exponent)
// in plain notation without leading or trailing zeros ("-0.123", "42"); nullopt when it is not
// one.
std::optional<QString> DecimalForm(QString text) {
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*(-?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?\d+))?\s*$)"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch() || match.captured(2).size() + match.captured(3).size() == 0) {
        return std::nullopt;
    }
    QString digits = match.captured(2) + match.captured(3);
    int exponent = match.captured(4).toInt() - static_cast<int>(match.captured(3).size());
    while (digits.size() > 1 && digits.front() == u'0') digits.remove(0, 1);
    while (digits.size() > 1 && digits.back() == u'0') {
        digits.chop(1);
        ++exponent;
    }
    if (digits == QLatin1String("0")) {
        return QStringLiteral("0");
    }
    // Plain decimal notation, as a user reads it: "-0.123", "42", "1200".
    if (exponent >= 0) {
        return match.captured(1) + digits + QString(exponent, u'0');
    }
    const qsizetype point = digits.size() + exponent;
    return match.captured(1) + (point > 0 ? digits.left(point) + u'.' + digits.mid(point)
                                          : QStringLiteral("0.") + QString(-point, u'0') + digits);
}

// An interval's text, "+00 20:09:17.928000" from Oracle or "20:09:17.928" from the test server,
// as a time of day; the text itself when it is not one, so that it differs.
QString IntervalForm(const QString& text) {
    static const QRegularExpression interval(
        QStringLiteral(R"(^\s*\+?(?:(\d+) )?(\d{1,2}):(\d{2}):(\d{2})(?:\.(\d+))?\s*$)"));
    const QRegularExpressionMatch match = interval.match(text);
    if (!match.hasMatch() || match.captured(1).toInt() != 0) {
        return text;
    }
    QString fraction = match.captured(5);
    while (fraction.size() > 3 && fraction.back() == u'0') fraction.chop(1);
    fraction = fraction.leftJustified(3, u'0');
    return Padded(match.captured(2).toInt(), 2) + u':' + match.captured(3) + u':' +
           match.captured(4) + u'.' + fraction;
}

}  // namespace

QString NativeSelectStatement(const QString& table, const std::vector<NativeField>& fields,
                              const OracleDatabaseRules& rules) {
    QStringList columns;
    for (const NativeField& field : fields) {
        const QString name = QuotedFieldName(field.name, rules);
        columns.append(NativeColumnFor(field.type, field.size).kind == NativeKind::Decimal
                           ? QStringLiteral("TO_CHAR(%1)").arg(name)
                           : name);
    }
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM ") + QuotedTableName(table, rules);
}

std::optional<QString> NativeComparableText(const NativeColumn& column, const Value& value) {
    using Kind = Value::Kind;
    if (value.isNull() || (value.kind() == Kind::Text && value.toText().isEmpty()) ||
        (value.kind() == Kind::Bytes && value.toBytes().isEmpty())) {
        return std::nullopt;
    }
    if (column.kind == NativeKind::Integer || column.kind == NativeKind::Logical ||
        column.kind == NativeKind::Decimal) {
        QString text;
        if (value.kind() == Kind::Boolean) {
            text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        } else if (value.kind() == Kind::Integer) {
            text = QString::number(value.toInteger());
        } else if (value.kind() == Kind::Double) {
            text = ExactDoubleText(value.toDouble());
        } else {
            text = value.toText();
        }
        return DecimalForm(text).value_or(text);
    }
    switch (value.kind()) {
        case Kind::Integer:
            return ExactDoubleText(static_cast<double>(value.toInteger()));
        case Kind::Double:
            return ExactDoubleText(value.toDouble());
        case Kind::Date:
            return DayForm(value.toDate());
        case Kind::Time:
            return ClockForm(value.toTime());
        case Kind::DateTime: {
            const QDateTime moment = value.toDateTime();
            if (column.kind == NativeKind::Date && moment.time() == QTime(0, 0)) {
                return DayForm(moment.date());
            }
            return DayForm(moment.date()) + u' ' + ClockForm(moment.time());
        }
        case Kind::Bytes:
            return QString::fromLatin1(value.toBytes().toHex().toUpper());
        case Kind::Text:
            if (column.kind == NativeKind::Double) {
                // A driver's text of a double ("-Infinity", "1e+300"): its value, if it is one.
                const QByteArray text = value.toText().trimmed().toLatin1();
                double number = 0;
                const auto read = std::from_chars(text.data(), text.data() + text.size(), number);
                if (read.ec == std::errc() && read.ptr == text.data() + text.size()) {
                    return ExactDoubleText(number);
                }
            }
            return column.kind == NativeKind::Time ? IntervalForm(value.toText()) : value.toText();
        case Kind::Boolean:
        case Kind::Null:
            break;
    }
    return std::nullopt;
}

}  // namespace quorvex
