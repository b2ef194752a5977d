#pragma once

#include "data/core/value.h"

#include <QString>

namespace quorvex {

// The text a field value is written with in an INSERT, always with the English (United States)
// conventions whatever the machine's locale, so that the server reads numbers and dates the same
// on every machine:
//   Null             -> the empty text (written as NULL)
//   Boolean          -> "True" / "False"
//   Integer          -> plain decimal digits, "-" when negative
//   Double           -> DoubleText below
//   Date             -> "M/d/yyyy"
//   Time             -> "h:mm:ss AM" / "h:mm:ss PM"
//   DateTime         -> "M/d/yyyy h:mm:ss AM"; the date alone when the time is midnight
//   Text             -> the text as the driver delivered it
//   Bytes            -> upper-case hexadecimal digits, two per byte (Oracle reads a character
//                       literal into a BLOB as hex)
QString ValueText(const Value& value);

// Oracle takes a string literal of at most 4,000 bytes (ORA-01704), and converts a hex literal
// into at most 2,000 bytes of RAW on its way into a BLOB.
constexpr qsizetype kLongestStringLiteralBytes = 4000;
constexpr qsizetype kLongestHexLiteralBytes = 2000;

// True for a value whose literal Oracle cannot take, or would not keep, so it goes into the
// INSERT as a bound value: bytes over kLongestHexLiteralBytes, a text over
// kLongestStringLiteralBytes in UTF-8 (the longest a text can be in the database character set),
// and, with `bindNonAsciiTexts` (a database whose character set is not Unicode, which would
// replace the characters it lacks in a literal), every text holding a character outside ASCII.
// Every other value is a literal.
bool MustBeBound(const Value& value, bool bindNonAsciiTexts = false);

// A double with at most 15 significant digits, the way the classic string conversion of a
// double prints it: the value is rounded to 15 significant digits, trailing zeros (and a bare
// decimal point) dropped, "." as the decimal point and no thousands separators. Fixed notation
// is used while the decimal exponent of the rounded value lies in -4..14 (0.0001 up to
// 999999999999999); outside it the exponent form is used, "E", a sign and at least two
// digits: 1E+15, 1.5E-05, -1.23456789012346E+20. Zero (also -0) is "0". A money value stored as
// 0.16999999999999998 prints "0.17". NaN and the infinities have no literal that a number column
// takes; they give the empty text, so the value is written as NULL, as the table file format
// already treats a NaN.
QString DoubleText(double value);

// "infinity", "-infinity" or "not a number" for a double Oracle cannot store in any column (it
// is written as NULL, see DoubleText); the empty text for every other value.
QString NumberOracleCannotHold(const Value& value);

// "M/d/yyyy", the year with at least four digits.
QString DateText(const QDate& date);

// "h:mm:ss AM" / "h:mm:ss PM" on a 12-hour clock (0:xx is 12:xx AM, 12:xx is 12:xx PM).
// Fractions of a second are not shown.
QString TimeText(const QTime& time);

// What a number field of a Paradox table holds, which decides the form its value is sent in.
enum class NumberKind {
    NotANumber,  // any other field
    Double,      // a floating-point number (Number, Money, BCD): DoubleText
    Integer,     // a whole number (Short, Long, AutoIncrement): plain digits
    Decimal,     // an exact decimal: its digits, without trailing zeros
};
// The kind of a field by its ADO type code.
NumberKind NumberKindOfField(int adoType);

// A number read back from Oracle put into the form the send gave a value of that kind, whatever
// form the driver gave it in: Oracle's FLOAT may come as a decimal of scale 0
// (1000000000000000 for what was sent as 1E+15), an integer column as a double, a number as text
// (with a decimal comma in a session that has one). Null, and a value that is no number, stay as
// they are; so does every value for NotANumber.
Value AsSentNumber(const Value& value, NumberKind kind);

// Returns defaultValue when value is Null, otherwise value.
Value NullToDefault(Value value, Value defaultValue);

}  // namespace quorvex
