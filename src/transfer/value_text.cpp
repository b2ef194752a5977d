#include "transfer/value_text.h"

#include "data/core/ado_types.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quorvex {

namespace {

// Every text here is ASCII and short (a double is at most 21 characters, a date and time 22),
// built in a buffer on the stack and turned into a QString once: the row copy converts every
// value of every row, so this is on its hot path.
class AsciiText {
  public:
    void Add(char c) {
        if (size_ < kCapacity) {
            text_[size_++] = c;
        }
    }
    void Add(const char* begin, const char* end) {
        for (; begin != end; ++begin) {
            Add(*begin);
        }
    }
    void Add(const char* text) {
        for (; *text != '\0'; ++text) {
            Add(*text);
        }
    }
    void Repeat(char c, int count) {
        for (; count > 0; --count) {
            Add(c);
        }
    }
    // A non-negative number, left-padded with zeros to at least `width` digits.
    void Number(long long value, int width = 1) {
        char digits[24];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        Repeat('0', width - static_cast<int>(end - digits));
        Add(digits, end);
    }
    QString ToQString() const { return QString::fromLatin1(text_, size_); }

  private:
    static constexpr int kCapacity = 64;
    char text_[kCapacity];
    int size_ = 0;
};

constexpr int kSignificantDigits = 15;
// Fixed notation for decimal exponents in this range, exponent form outside it.
constexpr int kLowestFixedExponent = -4;
constexpr int kHighestFixedExponent = kSignificantDigits - 1;

struct Decimal {
    bool negative = false;
    char digits[24];     // significant digits
    int digitCount = 0;  // at least one once parsed
    int exponent = 0;    // the first digit stands for d * 10^exponent
};

// Splits std::to_chars' "-d.ddde+XX" into sign, digits and exponent.
Decimal ParseScientific(const char* cursor, const char* end) {
    Decimal decimal;
    if (*cursor == '-') {
        decimal.negative = true;
        ++cursor;
    }
    for (; cursor != end && *cursor != 'e'; ++cursor) {
        if (*cursor >= '0' && *cursor <= '9' &&
            decimal.digitCount < static_cast<int>(sizeof decimal.digits)) {
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
    return decimal;
}

void DropTrailingZeros(Decimal& decimal) {
    while (decimal.digitCount > 1 && decimal.digits[decimal.digitCount - 1] == '0') {
        --decimal.digitCount;
    }
}

// Rounds the digits to 15, half up. Returns false for an exact tie (the 16th digit is the last
// and is 5), whose direction only the exact binary value can decide.
bool RoundDigits(Decimal& decimal) {
    if (decimal.digitCount <= kSignificantDigits) {
        return true;
    }
    const char first = decimal.digits[kSignificantDigits];
    if (first == '5' && decimal.digitCount == kSignificantDigits + 1) {
        return false;
    }
    decimal.digitCount = kSignificantDigits;
    if (first >= '5') {
        int i = kSignificantDigits - 1;
        while (i >= 0 && decimal.digits[i] == '9') {
            decimal.digits[i--] = '0';
        }
        if (i < 0) {
            decimal.digits[0] = '1';
            decimal.digitCount = 1;
            ++decimal.exponent;
        } else {
            ++decimal.digits[i];
        }
    }
    DropTrailingZeros(decimal);
    return true;
}

// Rounds to 15 significant digits and splits the result into sign, digits and decimal exponent.
// std::to_chars never looks at the process locale (printf would write a German LC_NUMERIC's
// comma).
//
// The quick way starts from the shortest text that reads back as the value (a normal double,
// 53 bits): that text lies within half a unit in the last place of the value, which is less than
// half a unit of the 15th digit, and no 15-digit rounding boundary lies between the two (such a
// boundary would be a shorter or closer text that reads back as the value). So rounding the
// shortest text to 15 digits rounds the value itself, except when the text ends exactly on the
// boundary. That case, and subnormal doubles (fewer bits), take std::to_chars with a precision,
// which rounds the exact binary value but costs several times as much.
Decimal RoundToSignificantDigits(double value) {
    char buffer[64];
    if (std::isnormal(value)) {
        const char* end =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
        Decimal decimal = ParseScientific(buffer, end);
        if (RoundDigits(decimal)) {
            return decimal;
        }
    }
    // "-d.dddddddddddddde+XXX"
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific, kSignificantDigits - 1)
                          .ptr;
    Decimal decimal = ParseScientific(buffer, end);
    DropTrailingZeros(decimal);
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
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);  // one calendar conversion for all three
    text.Number(month);
    text.Add('/');
    text.Number(day);
    text.Add('/');
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

QString IntegerText(std::int64_t value) {
    // Plain digits; QString::number would go through the locale machinery for every value.
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return QString::fromLatin1(digits, end - digits);
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

QString NumberOracleCannotHold(const Value& value) {
    if (value.kind() != Value::Kind::Double || std::isfinite(value.toDouble())) {
        return QString();
    }
    if (std::isnan(value.toDouble())) {
        return QStringLiteral("not a number");
    }
    return value.toDouble() > 0 ? QStringLiteral("infinity") : QStringLiteral("-infinity");
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
            return IntegerText(value.toInteger());
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

bool MustBeBound(const Value& value, bool bindNonAsciiTexts) {
    if (value.kind() == Value::Kind::Bytes) {
        return value.toBytes().size() > kLongestHexLiteralBytes;
    }
    if (value.kind() != Value::Kind::Text) {
        return false;
    }
    const QString text = value.toText();
    if (bindNonAsciiTexts) {
        for (const QChar c : text) {
            if (c.unicode() >= 0x80) return true;
        }
    }
    // A UTF-16 code unit takes one to three bytes in UTF-8 (a surrogate pair four for its two
    // units), so only texts between these bounds need counting.
    if (text.size() * 3 <= kLongestStringLiteralBytes) {
        return false;
    }
    if (text.size() > kLongestStringLiteralBytes) {
        return true;
    }
    qsizetype bytes = 0;
    for (const QChar c : text) {
        bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
    }
    return bytes > kLongestStringLiteralBytes;
}

Value NullToDefault(Value value, Value defaultValue) {
    return value.isNull() ? defaultValue : value;
}

NumberKind NumberKindOfField(int adoType) {
    if (IsIntegerAdoType(adoType)) return NumberKind::Integer;
    switch (adoType) {
        case adSingle:
        case adDouble:
        case adCurrency:
            return NumberKind::Double;
        case adDecimal:
        case adNumeric:
        case adVarNumeric:
            return NumberKind::Decimal;
        default:
            return NumberKind::NotANumber;
    }
}

namespace {

// A number's text as a driver may give it: blanks around it, "+", a decimal comma.
QString PlainNumberText(QString text) {
    text = text.trimmed();
    if (!text.contains(u'.') && text.count(u',') == 1) {
        text.replace(u',', u'.');
    }
    if (text.startsWith(u'+')) {
        text.remove(0, 1);
    }
    return text;
}

// An exact decimal text without trailing zeros after the point, nor the point itself when
// nothing follows it, nor leading zeros; "0" for zero; empty when the text is no plain decimal.
QString CanonicalDecimal(const QString& text) {
    static const QRegularExpression kDecimal(QStringLiteral("^(-?)0*([0-9]*)(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch match = kDecimal.match(text);
    if (!match.hasMatch() ||
        (match.captured(2).isEmpty() && match.captured(3).isEmpty() && !text.contains(u'0'))) {
        return QString();
    }
    QString fraction = match.captured(3);
    while (fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    const QString whole = match.captured(2).isEmpty() ? QStringLiteral("0") : match.captured(2);
    if (whole == u"0" && fraction.isEmpty()) {
        return QStringLiteral("0");
    }
    return match.captured(1) + whole + (fraction.isEmpty() ? QString() : u'.' + fraction);
}

}  // namespace

Value AsSentNumber(const Value& value, NumberKind kind) {
    if (kind == NumberKind::NotANumber || value.isNull()) {
        return value;
    }
    double number = 0;
    QString exact;  // the decimal digits as given, when the value came as text or an integer
    switch (value.kind()) {
        case Value::Kind::Integer:
            number = static_cast<double>(value.toInteger());
            exact = QString::number(value.toInteger());
            break;
        case Value::Kind::Double:
            number = value.toDouble();
            break;
        case Value::Kind::Text: {
            exact = PlainNumberText(value.toText());
            bool isNumber = false;
            number = exact.toDouble(&isNumber);
            if (!isNumber) {
                return value;
            }
            break;
        }
        default:
            return value;
    }
    switch (kind) {
        case NumberKind::Double:
            return Value::Double(number);
        case NumberKind::Integer:
            if (value.kind() == Value::Kind::Integer) {
                return value;
            }
            if (const QString digits = CanonicalDecimal(exact);
                !digits.isEmpty() && !digits.contains(u'.')) {
                return Value::Text(digits);
            }
            if (std::nearbyint(number) == number && std::abs(number) < 9.2e18) {
                return Value::Integer(static_cast<std::int64_t>(number));
            }
            return Value::Double(number);
        case NumberKind::Decimal:
            if (const QString digits = CanonicalDecimal(exact); !digits.isEmpty()) {
                return Value::Text(digits);
            }
            return Value::Double(number);
        case NumberKind::NotANumber:
            break;
    }
    return value;
}

}  // namespace quorvex
