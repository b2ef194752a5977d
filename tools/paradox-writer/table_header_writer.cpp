#include "table_header_writer.h"

#include "data/paradox/little_endian.h"

#include <cstring>
#include <stdexcept>

namespace quorvex::pxwriter {

namespace {

constexpr std::size_t kDescriptors = 0x78;
constexpr std::size_t kHeaderStep = 2048;

std::size_t NameSlotSize(Version version) { return version == Version::V7 ? 261 : 79; }

// The variable part after the descriptors: pointers, table name slot, field names, field
// numbers and the sort-order id.
std::vector<std::uint8_t> VariablePart(const TableDesign& design,
                                       const std::vector<paradox::Field>& fields,
                                       const TextEncoder& encoder, const std::string& storedName) {
    std::vector<std::uint8_t> part;
    for (const paradox::Field& field : fields) {
        part.push_back(static_cast<std::uint8_t>(field.type));
        part.push_back(field.size);
    }
    part.resize(part.size() + 4 + 4 * fields.size(), 0);
    std::vector<std::uint8_t> slot(NameSlotSize(design.version), 0);
    const std::vector<std::uint8_t> name = encoder.encode(storedName);
    std::memcpy(slot.data(), name.data(), std::min(name.size(), slot.size() - 1));
    part.insert(part.end(), slot.begin(), slot.end());
    for (const paradox::Field& field : fields) {
        const std::vector<std::uint8_t> bytes = encoder.encode(field.name);
        if (bytes.empty()) {
            throw std::invalid_argument("every field needs a name");
        }
        part.insert(part.end(), bytes.begin(), bytes.end());
        part.push_back(0);
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        part.push_back(static_cast<std::uint8_t>(i + 1));
        part.push_back(0);
    }
    part.insert(part.end(), design.sortOrder.begin(), design.sortOrder.end());
    part.push_back(0);
    return part;
}

std::uint8_t SecondaryVersion(Version version) { return static_cast<std::uint8_t>(version); }

}  // namespace

std::uint16_t HeaderSizeFor(const TableDesign& design, const std::vector<paradox::Field>& fields,
                            const TextEncoder& encoder, const std::string& storedName) {
    const std::size_t needed =
        kDescriptors + VariablePart(design, fields, encoder, storedName).size();
    const std::size_t size = (needed + kHeaderStep - 1) / kHeaderStep * kHeaderStep;
    if (size > 0xF800) {
        throw std::invalid_argument("the field names are too long for a header");
    }
    return static_cast<std::uint16_t>(size);
}

std::vector<std::uint8_t> BuildHeader(const TableDesign& design,
                                      const std::vector<paradox::Field>& fields,
                                      const TextEncoder& encoder, const std::string& storedName,
                                      std::uint16_t headerSize, std::uint16_t recordSize,
                                      const HeaderCounts& counts) {
    using paradox::WriteU16;
    using paradox::WriteU32;
    std::vector<std::uint8_t> h(headerSize, 0);
    const auto blocks = static_cast<std::uint16_t>(counts.blocks);
    WriteU16(&h[0x00], recordSize);
    WriteU16(&h[0x02], headerSize);
    h[0x04] = 2;  // unkeyed table
    h[0x05] = design.blockSizeKib;
    WriteU32(&h[0x06], static_cast<std::uint32_t>(counts.rows));
    WriteU16(&h[0x0A], blocks);
    WriteU16(&h[0x0C], blocks);
    WriteU16(&h[0x0E], blocks == 0 ? 0 : 1);
    WriteU16(&h[0x10], blocks);
    WriteU16(&h[0x21], static_cast<std::uint16_t>(fields.size()));
    WriteU16(&h[0x23], 0);
    WriteU32(&h[0x25], 0xFF00FF00u);
    h[0x39] = static_cast<std::uint8_t>(design.version);
    WriteU16(&h[0x3A], blocks);
    WriteU32(&h[0x49], static_cast<std::uint32_t>(counts.highestAutoIncrement));
    h[0x58] = SecondaryVersion(design.version);
    h[0x59] = 1;
    h[0x5A] = SecondaryVersion(design.version);
    h[0x5B] = 1;
    WriteU32(&h[0x5C], design.scrambleKey);
    WriteU16(&h[0x6A], static_cast<std::uint16_t>(design.codePage));
    const std::vector<std::uint8_t> part = VariablePart(design, fields, encoder, storedName);
    std::memcpy(&h[kDescriptors], part.data(), part.size());
    return h;
}

}  // namespace quorvex::pxwriter
