#pragma once

#include "fuzz_input.h"

#include <cstdint>

namespace quorvex::fuzz {

// Opens the table from the input and reads every value of every row, the way the driver and
// pxdump would. Damaged input must end in paradox::Error (caught here); anything else - a crash,
// a sanitizer report, a row count that disagrees with the rows read - is a fault. Returns the
// number of rows read.
std::uint64_t ReadWholeTable(const TableFiles& files);

}  // namespace quorvex::fuzz
