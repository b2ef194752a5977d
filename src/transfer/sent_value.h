#pragma once

#include "data/core/value.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

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

// Why a row did not arrive whole when one of its values could not be read from the Paradox file
// (a missing or damaged memo file): the field and the reader's reason.
QString UnreadableValueReport(const QString& field, const QString& reason);

// The note of a table whose refused rows hold a text longer than the window's NVARCHAR2(2000)
// columns take, which the native copy carries whole.
inline const QString kNativeCarriesLongTexts = QStringLiteral(
    "a text over 2,000 characters was refused: send --native carries it whole (NCLOB)");

// True when one of a refused row's values, as sent (SentText; bytes as upper-case hex, which is
// left out), is a text over 2,000 characters.
bool HoldsTextOverColumn(const std::vector<std::optional<QString>>& sent);

}  // namespace quorvex
