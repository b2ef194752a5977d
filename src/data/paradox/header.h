#pragma once

#include "data/paradox/field.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvex::paradox {

// The smallest header any version writes (the fixed part of versions 3.0 and 3.5).
inline constexpr std::size_t kFixedHeaderSize = 0x58;
// Versions 4.0 and later add a second fixed part up to this offset.
inline constexpr std::size_t kExtendedHeaderSize = 0x78;

// What the header of a table file says, checked for consistency.
struct TableHeader {
    std::uint8_t versionByte = 0;
    std::uint8_t fileType = 0;  // 0 keyed, 2 unkeyed
    std::uint16_t recordSize = 0;
    std::uint16_t headerSize = 0;         // the offset of data block 1
    std::uint32_t blockSize = 0;          // bytes
    std::uint32_t storedRecordCount = 0;  // as last written; the block chain is what counts
    std::uint16_t usedBlocks = 0;
    std::uint16_t fileBlocks = 0;
    std::uint16_t firstBlock = 0;
    std::uint16_t lastBlock = 0;
    std::uint16_t keyFieldCount = 0;
    std::optional<int> codePage;    // absent in Paradox 3.x headers
    std::string sortOrder;          // ASCII id, empty in Paradox 3.x headers
    std::uint32_t scrambleKey = 0;  // 0 when the table is not password-protected

    bool extended() const { return versionByte >= 5; }
    bool scrambled() const { return scrambleKey != 0; }
    // "3.0", "3.5", "4.x", "5.x" or "7.x".
    std::string versionName() const;
};

// A field as the header describes it; its name is still in the table's code page.
struct RawField {
    FieldType type{};
    std::uint8_t size = 0;
    std::uint16_t storage = 0;
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> name;
};

struct ParsedHeader {
    TableHeader header;
    std::vector<RawField> fields;
    std::vector<std::uint8_t> tableName;  // the name stored in the header, in its code page
    // Where the field names end: 4.0+ headers go on with the field numbers, the sort-order id and,
    // in a composite index, the index's name.
    std::size_t fieldNamesEnd = 0;
};

// The files whose headers share the table's layout: a table (.DB, file type 0 or 2) and a
// secondary index's sorted entries (.Xnn or .XGn, file type 3, 5, 6 or 8), whose fields are the
// indexed ones, then the key fields of its table, then a block number.
enum class HeaderKind { Table, SecondaryIndex };

// The header size that a fixed part (at least kFixedHeaderSize bytes) declares, so that a
// reader knows how much more to read before calling ParseHeader.
std::uint16_t DeclaredHeaderSize(std::span<const std::uint8_t> fixedPart);

// Parses and checks a header. `bytes` holds the first headerSize bytes of the file, or the whole
// file when it is shorter; `fileName` is used in errors. Throws Error for anything that is not a
// readable file of the kind asked for.
ParsedHeader ParseHeader(std::span<const std::uint8_t> bytes, const std::string& fileName,
                         HeaderKind kind = HeaderKind::Table);

}  // namespace quorvex::paradox
