#include "data/paradox/header.h"

#include "data/paradox/error.h"
#include "data/paradox/little_endian.h"

#include <algorithm>

namespace quorvex::paradox {

namespace {

constexpr std::size_t kNameSlotOld = 79;
constexpr std::size_t kNameSlotVersion7 = 261;

std::string Hex(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    text += digits[(value >> 4) & 0xF];
    text += digits[value & 0xF];
    return text;
}

void CheckFileType(std::uint8_t fileType, HeaderKind kind, const std::string& fileName) {
    if (kind == HeaderKind::SecondaryIndex) {
        if (fileType == 3 || fileType == 5 || fileType == 6 || fileType == 8) {
            return;
        }
        throw Error(fileName, "its file type byte " + Hex(fileType) +
                                  " is not that of a secondary index (.Xnn or .XGn)");
    }
    if (fileType == 0 || fileType == 2) {
        return;
    }
    if (fileType == 1) {
        throw Error(fileName, "it is a primary index file (.PX), not a table");
    }
    if (fileType >= 3 && fileType <= 8) {
        throw Error(fileName,
                    "it is a secondary index file (.Xnn, .Ynn, .XGn or .YGn), not a table");
    }
    throw Error(fileName,
                "its file type byte " + Hex(fileType) + " is not that of a Paradox table");
}

bool IsValidBlockSize(std::uint8_t kib) {
    switch (kib) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 8:
        case 16:
        case 32:
            return true;
        default:
            return false;
    }
}

// Reads one NUL-terminated string at `at`, moving `at` past its NUL; nothing when the header
// ends first.
std::optional<std::vector<std::uint8_t>> ReadCString(std::span<const std::uint8_t> bytes,
                                                     std::size_t& at) {
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at, bytes.size()));
    const auto nul = std::find(begin, bytes.end(), std::uint8_t{0});
    if (nul == bytes.end()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> text(begin, nul);
    at = static_cast<std::size_t>(nul - bytes.begin()) + 1;
    return text;
}

// The sort-order id after the field numbers of a 4.0+ header; empty when it is missing or is not
// plain ASCII (a reader only needs it to recognise the Roman-8 order).
std::string ReadSortOrder(std::span<const std::uint8_t> bytes, std::size_t at) {
    auto text = ReadCString(bytes, at);
    if (!text) {
        return {};
    }
    for (const std::uint8_t c : *text) {
        if (c < 0x20 || c > 0x7E) {
            return {};
        }
    }
    return std::string(text->begin(), text->end());
}

}  // namespace

std::string TableHeader::versionName() const {
    if (versionByte == 3) {
        return "3.0";
    }
    if (versionByte == 4) {
        return "3.5";
    }
    if (versionByte <= 9) {
        return "4.x";
    }
    if (versionByte <= 11) {
        return "5.x";
    }
    return "7.x";
}

std::uint16_t DeclaredHeaderSize(std::span<const std::uint8_t> fixedPart) {
    return ReadU16(fixedPart.data() + 0x02);
}

ParsedHeader ParseHeader(std::span<const std::uint8_t> bytes, const std::string& fileName,
                         HeaderKind kind) {
    if (bytes.size() < kFixedHeaderSize) {
        throw Error(fileName, "the header is cut short");
    }
    const std::uint8_t* h = bytes.data();
    ParsedHeader parsed;
    TableHeader& header = parsed.header;
    header.recordSize = ReadU16(h + 0x00);
    header.headerSize = ReadU16(h + 0x02);
    header.fileType = h[0x04];
    const std::uint8_t blockKib = h[0x05];
    header.storedRecordCount = ReadU32(h + 0x06);
    header.usedBlocks = ReadU16(h + 0x0A);
    header.fileBlocks = ReadU16(h + 0x0C);
    header.firstBlock = ReadU16(h + 0x0E);
    header.lastBlock = ReadU16(h + 0x10);
    const std::uint16_t fieldCount = ReadU16(h + 0x21);
    header.keyFieldCount = ReadU16(h + 0x23);
    header.versionByte = h[0x39];

    CheckFileType(header.fileType, kind, fileName);
    if (header.versionByte < 3 || header.versionByte > 12) {
        throw Error(fileName, "its version byte " + Hex(header.versionByte) +
                                  " is not that of a Paradox table of versions 3 to 7");
    }
    const std::size_t base = header.extended() ? kExtendedHeaderSize : kFixedHeaderSize;
    if (header.headerSize < base) {
        throw Error(fileName, "its header size of " + std::to_string(header.headerSize) +
                                  " bytes is too small for a table of version " +
                                  header.versionName());
    }
    if (bytes.size() < header.headerSize) {
        throw Error(fileName, "the file ends inside its header (" + std::to_string(bytes.size()) +
                                  " of " + std::to_string(header.headerSize) + " bytes)");
    }
    if (!IsValidBlockSize(blockKib)) {
        throw Error(fileName, "its block size of " + std::to_string(blockKib) +
                                  " KiB is not one Paradox uses");
    }
    header.blockSize = static_cast<std::uint32_t>(blockKib) * 1024;
    if (header.recordSize == 0) {
        throw Error(fileName, "its record size is 0");
    }
    if (header.recordSize > header.blockSize - 6) {
        throw Error(fileName, "a record of " + std::to_string(header.recordSize) +
                                  " bytes does not fit in a block of " +
                                  std::to_string(header.blockSize) + " bytes");
    }
    if (fieldCount == 0) {
        throw Error(fileName, "the table has no fields");
    }
    header.scrambleKey = header.extended() ? ReadU32(h + 0x5C) : ReadU32(h + 0x25);

    // Field descriptors, then one pointer, one pointer per field, the table-name slot and the
    // field names, all inside the header.
    const std::span<const std::uint8_t> all = bytes.first(header.headerSize);
    const std::size_t descriptors = base;
    const std::size_t nameSlot =
        descriptors + 2 * std::size_t{fieldCount} + 4 + 4 * std::size_t{fieldCount};
    const std::size_t slotSize = header.versionByte >= 12 ? kNameSlotVersion7 : kNameSlotOld;
    if (nameSlot + slotSize > all.size()) {
        throw Error(fileName, "its " + std::to_string(fieldCount) +
                                  " field descriptions do not fit in the header");
    }
    std::uint32_t offset = 0;
    parsed.fields.reserve(fieldCount);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const std::uint8_t code = all[descriptors + 2 * i];
        const std::uint8_t size = all[descriptors + 2 * i + 1];
        const auto type = FieldTypeFromCode(code);
        if (!type) {
            throw Error(fileName, "field " + std::to_string(i + 1) + " has the unknown type code " +
                                      Hex(code));
        }
        const auto storage = StorageSize(*type, size);
        if (!storage) {
            throw Error(fileName, "field " + std::to_string(i + 1) + " of type " +
                                      FieldLetter(*type) + " has the impossible size " +
                                      std::to_string(size));
        }
        parsed.fields.push_back(
            RawField{*type, size, static_cast<std::uint16_t>(*storage), offset, {}});
        offset += static_cast<std::uint32_t>(*storage);
    }
    if (offset != header.recordSize) {
        throw Error(fileName, "the record size of " + std::to_string(header.recordSize) +
                                  " bytes does not match its fields, whose sizes add up to " +
                                  std::to_string(offset));
    }

    std::size_t at = nameSlot;
    {
        std::size_t slotAt = nameSlot;
        const auto slot = ReadCString(all.first(nameSlot + slotSize), slotAt);
        if (slot) {
            parsed.tableName = *slot;
        } else {
            parsed.tableName.assign(all.begin() + static_cast<std::ptrdiff_t>(nameSlot),
                                    all.begin() + static_cast<std::ptrdiff_t>(nameSlot + slotSize));
        }
    }
    at += slotSize;
    for (std::size_t i = 0; i < fieldCount; ++i) {
        auto name = ReadCString(all, at);
        if (!name) {
            throw Error(fileName, "the field names run past the end of the header");
        }
        parsed.fields[i].name = std::move(*name);
    }
    parsed.fieldNamesEnd = at;

    if (header.extended()) {
        header.codePage = ReadU16(h + 0x6A);
        const std::size_t sortOrderAt = at + 2 * std::size_t{fieldCount};
        if (sortOrderAt < all.size()) {
            header.sortOrder = ReadSortOrder(all, sortOrderAt);
        }
    }
    return parsed;
}

}  // namespace quorvex::paradox
