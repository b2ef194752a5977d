#pragma once

#include "data/access/oracle_database_rules.h"
#include "data/core/value.h"
#include "transfer/native_column.h"
#include "transfer/native_statements.h"

#include <QString>

#include <optional>
#include <vector>

namespace quorvex {

// The comparison of a native table with its Paradox table reads both sides to one exact form per
// value, so that a changed millisecond, 17th significant digit, BCD digit or byte differs, and
// nothing else does (the drivers deliver a value in several forms: a DATE as a day or as a
// timestamp at midnight, a NUMBER as an integer, a double or a text).

// SELECT "A", TO_CHAR("Exact"), ... FROM "T": the table's columns in its field order, each as the
// comparison reads it (a BCD column as its exact digits, which a double would round).
QString NativeSelectStatement(const QString& table, const std::vector<NativeField>& fields,
                              const OracleDatabaseRules& rules = {});

// The exact form of a value of a native column, nullopt for NULL (an empty text or empty bytes,
// which Oracle stores as NULL, too):
//   Text, LongText  the text           Bytes, Raw  upper-case hex
//   Integer, Logical, Decimal  plain decimal digits, no leading or trailing zeros: "-0.123",
//                   "42", "0"
//   Double          ExactDoubleText
//   Date            "1920-09-08", with " 10:53:53.123" when the value has a time of day
//   Time            "20:09:17.928" (more digits of a second only when they are not zeros)
//   Timestamp       "2028-07-19 10:53:53.123"
// A value of another kind than its column holds (a driver's text) is read as text where it can
// be: a decimal text, an interval's text ("+00 20:09:17.928000").
std::optional<QString> NativeComparableText(const NativeColumn& column, const Value& value);

}  // namespace quorvex
