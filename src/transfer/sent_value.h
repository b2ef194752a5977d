#pragma once

#include "data/value.h"

#include <QString>

#include <optional>

namespace quorvex {

// The form in which a value reaches Oracle, by either copy: the text of ValueText, or nothing
// (NULL) when that text is empty, as for a Null value or an empty text. The row copy writes this
// text as a literal (or binds it, when long); the bulk copy binds it; the comparison of a sent
// table reads both sides back to it.
std::optional<QString> SentText(const Value& value);

}  // namespace quorvex
