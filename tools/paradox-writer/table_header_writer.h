#pragma once

#include "table_writer.h"
#include "text_encoder.h"

#include "data/paradox/field.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::pxwriter {

struct HeaderCounts {
    std::uint64_t rows = 0;
    std::uint32_t blocks = 0;
    std::int32_t highestAutoIncrement = 0;
};

// The header size for these fields: 2048 bytes as Paradox writes it, more (in 2048-byte steps)
// only when the names need it.
std::uint16_t HeaderSizeFor(const TableDesign& design, const std::vector<paradox::Field>& fields,
                            const TextEncoder& encoder, const std::string& storedName);

// The complete header of a finished table.
std::vector<std::uint8_t> BuildHeader(const TableDesign& design,
                                      const std::vector<paradox::Field>& fields,
                                      const TextEncoder& encoder, const std::string& storedName,
                                      std::uint16_t headerSize, std::uint16_t recordSize,
                                      const HeaderCounts& counts);

}  // namespace quorvex::pxwriter
