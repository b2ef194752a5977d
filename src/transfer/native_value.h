#pragma once

#include "data/core/value.h"
#include "transfer/native_column.h"

#include <QString>

#include <optional>

namespace quorvex {

// How the values of a native copy are written, so that no setting of the session (its date
// formats, decimal sign or language) can change what arrives: ANSI literals for days, times and
// timestamps, numbers without a decimal sign where a text is converted, and the exact digits of
// every value. Each depends only on its inputs; a value of a kind its column does not take
// throws Failure.
//
// A BCD value arrives as the text of its decimal digits ("-0.122999999999999998"), an integer,
// or, where a driver gives no more, a double.

// The literal of a value in a native INSERT, or nullopt when Oracle cannot take it as a literal
// and it must be bound (MustBeBound: a text over 4,000 bytes, bytes over 2,000, and with
// `bindNonAsciiTexts` a text beyond ASCII). Null, an empty text and empty bytes are NULL.
//   Text, LongText  'it''s'                  Integer   -42
//   Bytes, Raw      HEXTORAW('0A1B')          Logical   1 / 0
//   Double          TO_BINARY_DOUBLE('10394500000000003E-11'), TO_BINARY_DOUBLE('INF')
//   Decimal         -0.122999999999999998
//   Date            DATE '1920-09-08'         Timestamp TIMESTAMP '2028-07-19 10:53:53.123'
//   Time            INTERVAL '0 20:09:17.928' DAY TO SECOND(3)
std::optional<QString> NativeLiteral(const NativeColumn& column, const Value& value,
                                     bool bindNonAsciiTexts = false);

// The marker of a native bulk INSERT for a column, converting the bound text with a fixed
// format: "?" for texts, integers and the bytes of a BLOB (bound as long binary), HEXTORAW(?)
// for RAW (its hex digits: no binary bind to choose for a short RAW value), TO_BINARY_DOUBLE(?),
// TO_NUMBER(?), TO_DATE(?, 'YYYY-MM-DD'), TO_TIMESTAMP(?, 'YYYY-MM-DD HH24:MI:SS.FF3'),
// TO_DSINTERVAL(?).
QString NativeMarker(NativeKind kind);

// The text bound to a native bulk marker (a BLOB's bytes are bound as they are, a RAW's as hex
// digits); nullopt for NULL.
//   Double "10394500000000003E-11", "INF", "-INF", "NaN"   Decimal "-122999999999999998E-18"
//   Date "1920-09-08"   Timestamp "2028-07-19 10:53:53.123"   Time "0 20:09:17.928"
std::optional<QString> NativeBoundText(const NativeColumn& column, const Value& value);

// A double as the shortest digits that read back as the very same double, written without a
// decimal sign: an integer, or integer digits and a decimal exponent ("17E-2" for 0.17); "INF",
// "-INF" or "NaN" for the values that are not numbers.
QString ExactDoubleText(double value);

// A decimal text ("-12.50", "0.122999999999999998", "7") checked and written as integer digits
// and a decimal exponent ("-1250E-2"); refuses, with Failure, anything but optional "-", digits
// and at most one ".".
QString ExactDecimalText(const QString& decimal);

}  // namespace quorvex
