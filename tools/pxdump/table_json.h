#pragma once

#include "data/paradox/table.h"

#include <ostream>
#include <string>

namespace quorvex::pxdump {

// The JSON form of one value, as the conformance files write it: null, true/false, integers,
// number/money as the shortest decimal text, BCD digits, "YYYY-MM-DD", "HH:MM:SS.mmm",
// "YYYY-MM-DD HH:MM:SS.mmm", text, and bytes as {"hex", "len"} (up to 64 bytes) or
// {"len", "sha256", "head_hex"}. Formatted memos are shown as text in the table's code page.
std::string ValueJson(const paradox::Table& table, const paradox::Field& field,
                      const paradox::Value& value);

// Writes the whole table file as JSON: name, folder, fields, row count, rows, warnings and
// the header. Throws paradox::Error for a table that cannot be read; rows already written stay
// written, so the output of a failed dump is incomplete.
void DumpTableJson(const std::string& path, std::ostream& out);

}  // namespace quorvex::pxdump
