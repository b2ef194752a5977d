#pragma once

#include "table_writer.h"

#include "data/paradox/value.h"

#include <string>
#include <vector>

namespace quorvex::test {

using Row = std::vector<paradox::Value>;

// A table with one field of every type, and rows holding the edge values of each: NULLs,
// negatives, zero, midnight, the first and last dates, full-length text and memo values on
// every side of the leader and .MB block limits.
pxwriter::TableDesign EveryTypeDesign(pxwriter::Version version, int codePage,
                                      std::uint8_t blockKib, std::uint32_t scrambleKey);
std::vector<Row> EdgeRows(int codePage);

// What the reader gives back for a written row: bytes fields padded to their size.
Row AsRead(const pxwriter::TableDesign& design, Row row);

// Reads every row of a table.
std::vector<Row> ReadAllRows(const std::string& path);

}  // namespace quorvex::test
