#pragma once

#include "data/core/value.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace quorvex {

// The form in which a value reaches Oracle, by either copy: the text of ValueText, or nothing
// (NULL) when that text is empty, as for a Null value or an empty text. The row copy writes this
// text as a literal (or binds it, when long); the bulk copy binds it; the comparison of a sent
// table reads both sides back to it.
std::optional<QString> SentText(const Value& value);

// The report of a row whose numbers Oracle cannot hold, sent as NULL, the same from either copy:
// "Row 3 of table T holds a number Oracle cannot store: Amount (infinity); NULL is sent in its
// place." `fields` names each such field with what it held, "Amount (infinity)".
QString UnheldNumbersReport(const QString& table, std::int64_t row, const QStringList& fields);

}  // namespace quorvex
