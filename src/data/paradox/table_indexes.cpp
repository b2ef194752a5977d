#include "data/paradox/table_indexes.h"

#include "data/paradox/byte_source.h"
#include "data/paradox/header.h"
#include "data/paradox/little_endian.h"
#include "data/paradox/table.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>

namespace quorvex::paradox {

namespace {

// Every index entry ends with a block number and two more words after its fields.
constexpr std::size_t kEntryTrailer = 6;

struct Descriptor {
    FieldType type{};
    std::uint8_t size = 0;
    friend bool operator==(const Descriptor&, const Descriptor&) = default;
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Hex(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[(value >> 4) & 0xF] + digits[value & 0xF];
}

bool IsValidBlockKib(std::uint8_t kib) {
    return kib == 1 || kib == 2 || kib == 3 || kib == 4 || kib == 8 || kib == 16 || kib == 32;
}

// The field descriptors of a .PX, .Ynn or .YGn file: these keep the short fixed part of
// Paradox 3 headers in every version, and no field names, so the descriptors follow at 0x58.
std::vector<Descriptor> ReadTreeDescriptors(std::span<const std::uint8_t> bytes,
                                            const std::string& fileName,
                                            std::initializer_list<std::uint8_t> fileTypes,
                                            const std::string& what) {
    if (bytes.size() < kFixedHeaderSize) {
        throw Error(fileName, "the header is cut short");
    }
    const std::uint8_t* h = bytes.data();
    const std::uint8_t fileType = h[0x04];
    if (std::find(fileTypes.begin(), fileTypes.end(), fileType) == fileTypes.end()) {
        throw Error(fileName, "its file type byte " + Hex(fileType) + " is not that of " + what);
    }
    if (h[0x39] < 3 || h[0x39] > 12) {
        throw Error(fileName, "its version byte " + Hex(h[0x39]) +
                                  " is not that of a Paradox file of versions 3 to 7");
    }
    const std::size_t headerSize = ReadU16(h + 0x02);
    if (bytes.size() < headerSize) {
        throw Error(fileName, "the file ends inside its header (" + std::to_string(bytes.size()) +
                                  " of " + std::to_string(headerSize) + " bytes)");
    }
    if (!IsValidBlockKib(h[0x05])) {
        throw Error(fileName, "its block size of " + std::to_string(h[0x05]) +
                                  " KiB is not one Paradox uses");
    }
    const std::size_t count = ReadU16(h + 0x21);
    if (count == 0 || kFixedHeaderSize + 2 * count + 4 > headerSize) {
        throw Error(fileName, "its " + std::to_string(count) +
                                  " field descriptions do not fit in the header");
    }
    std::vector<Descriptor> descriptors;
    std::size_t storage = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t code = h[kFixedHeaderSize + 2 * i];
        const std::uint8_t size = h[kFixedHeaderSize + 2 * i + 1];
        const auto type = FieldTypeFromCode(code);
        const auto bytesOfField = type ? StorageSize(*type, size) : std::nullopt;
        if (!bytesOfField) {
            throw Error(fileName, "field " + std::to_string(i + 1) + " has the unknown type " +
                                      Hex(code) + " or the impossible size " +
                                      std::to_string(size));
        }
        storage += static_cast<std::size_t>(*bytesOfField);
        descriptors.push_back({*type, size});
    }
    if (ReadU16(h) != storage + kEntryTrailer) {
        throw Error(fileName, "its entry size of " + std::to_string(ReadU16(h)) +
                                  " bytes does not match its fields, whose sizes add up to " +
                                  std::to_string(storage + kEntryTrailer));
    }
    return descriptors;
}

Descriptor DescriptorOf(const Field& field) { return {field.type, field.size}; }

std::vector<Descriptor> DescriptorsOf(const Table& table, const std::vector<std::size_t>& fields) {
    std::vector<Descriptor> descriptors;
    for (const std::size_t field : fields) {
        descriptors.push_back(DescriptorOf(table.fields()[field]));
    }
    return descriptors;
}

// The table's field of that name, the exact spelling first, else one that differs in case only.
std::optional<std::size_t> FindField(const Table& table, const std::string& name) {
    const auto& fields = table.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) {
            return i;
        }
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (Upper(fields[i].name) == Upper(name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> CStringAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (at >= bytes.size()) {
        return std::nullopt;
    }
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(at);
    const auto nul = std::find(begin, bytes.end(), std::uint8_t{0});
    if (nul == bytes.end()) {
        return std::nullopt;
    }
    return std::string(begin, nul);
}

// A composite index's name follows the sort-order id at the end of a 4.0+ header.
std::string CompositeName(std::span<const std::uint8_t> header, const ParsedHeader& parsed,
                          const Table& table) {
    if (!parsed.header.extended()) {
        return {};
    }
    const std::size_t sortOrderAt = parsed.fieldNamesEnd + 2 * parsed.fields.size();
    const auto sortOrder = CStringAt(header, sortOrderAt);
    if (!sortOrder) {
        return {};
    }
    const auto name = CStringAt(header, sortOrderAt + sortOrder->size() + 1);
    if (!name) {
        return {};
    }
    return table.decodeText(
        std::span(reinterpret_cast<const std::uint8_t*>(name->data()), name->size()));
}

// The bytes of an index file's header: never more, since its entries are not needed.
std::vector<std::uint8_t> ReadHeaderBytes(const std::string& path) {
    const auto source = OpenFileSource(path);
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>(source->size(), kFixedHeaderSize)));
    source->read(0, bytes);
    if (bytes.size() == kFixedHeaderSize) {
        const std::uint64_t declared =
            std::max<std::uint64_t>(DeclaredHeaderSize(bytes), kFixedHeaderSize);
        bytes.resize(static_cast<std::size_t>(std::min(source->size(), declared)));
        source->read(0, bytes);
    }
    return bytes;
}

// An index file's extension with its first letter changed: the .Ynn tree of an .Xnn index.
std::string WithLetter(char letter, const std::string& extension) {
    std::string changed = extension;
    changed[0] = letter;
    return changed;
}

// The index files of a table, by upper-cased extension; where a name exists in several
// spellings, the first in byte order.
std::map<std::string, std::string> IndexFilesBeside(const std::filesystem::path& table) {
    namespace fs = std::filesystem;
    const fs::path folder = table.has_parent_path() ? table.parent_path() : fs::path(".");
    const std::string stem = Upper(table.stem().string());
    std::map<std::string, std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        std::error_code typeError;
        if (Upper(path.stem().string()) != stem || !it->is_regular_file(typeError)) {
            continue;
        }
        std::string extension = Upper(path.extension().string());
        if (extension.empty()) {
            continue;
        }
        extension.erase(0, 1);
        const bool hexPair = extension.size() == 3 &&
                             std::isxdigit(static_cast<unsigned char>(extension[1])) &&
                             std::isxdigit(static_cast<unsigned char>(extension[2]));
        const bool grouped = extension.size() == 3 && extension[1] == 'G' &&
                             std::isalnum(static_cast<unsigned char>(extension[2]));
        const bool isIndex = extension == "PX" ||
                             ((extension[0] == 'X' || extension[0] == 'Y') && (hexPair || grouped));
        if (!isIndex) {
            continue;
        }
        auto [at, inserted] = files.emplace(extension, path.string());
        if (!inserted && path.string() < at->second) {
            at->second = path.string();
        }
    }
    return files;
}

// A secondary index, and the fields its entries are sorted on: its own, then the table's key
// fields (the fields of its .Ynn or .YGn tree).
struct IndexEntries {
    SecondaryIndex index;
    std::vector<std::size_t> sortedOn;
};

IndexEntries ReadIndexEntries(std::span<const std::uint8_t> bytes, const std::string& fileName,
                              const Table& table) {
    const ParsedHeader parsed = ParseHeader(bytes, fileName, HeaderKind::SecondaryIndex);
    const std::size_t keyCount = parsed.header.keyFieldCount;
    if (keyCount == 0 || keyCount > parsed.fields.size()) {
        throw Error(fileName, "it says " + std::to_string(keyCount) + " of its " +
                                  std::to_string(parsed.fields.size()) + " fields are sorted on");
    }
    std::vector<std::size_t> entryFields;
    for (std::size_t i = 0; i < keyCount; ++i) {
        const RawField& raw = parsed.fields[i];
        const std::string name = table.decodeText(raw.name);
        const auto field = FindField(table, name);
        if (!field) {
            throw Error(fileName, "it indexes a field \"" + name + "\" the table does not have");
        }
        if (!(DescriptorOf(table.fields()[*field]) == Descriptor{raw.type, raw.size})) {
            throw Error(fileName, "its field \"" + name +
                                      "\" is not of the type and size of the "
                                      "table's field of that name");
        }
        entryFields.push_back(*field);
    }
    const std::vector<std::size_t> sortedOn = entryFields;
    // The entries end with the table's own key fields, which are not part of the index.
    const std::size_t tableKeys = table.header().keyFieldCount;
    if (tableKeys > 0 && entryFields.size() > tableKeys) {
        bool endsWithKey = true;
        for (std::size_t k = 0; k < tableKeys; ++k) {
            endsWithKey = endsWithKey && entryFields[entryFields.size() - tableKeys + k] == k;
        }
        if (endsWithKey) {
            entryFields.resize(entryFields.size() - tableKeys);
        }
    }
    IndexEntries entries;
    entries.sortedOn = sortedOn;
    SecondaryIndex& index = entries.index;
    index.file = fileName;
    index.composite = parsed.header.fileType >= 6;
    index.fields = std::move(entryFields);
    index.name = index.composite
                     ? CompositeName(bytes.first(parsed.header.headerSize), parsed, table)
                     : table.fields()[index.fields.front()].name;
    return entries;
}

}  // namespace

SecondaryIndex ReadSecondaryIndex(std::span<const std::uint8_t> bytes, const std::string& fileName,
                                  const Table& table) {
    return ReadIndexEntries(bytes, fileName, table).index;
}

void CheckPrimaryIndex(std::span<const std::uint8_t> bytes, const std::string& fileName,
                       const Table& table) {
    const auto descriptors = ReadTreeDescriptors(bytes, fileName, {1}, "a primary index (.PX)");
    const std::size_t keyCount = table.header().keyFieldCount;
    std::vector<std::size_t> keyFields;
    for (std::size_t k = 0; k < keyCount && k < table.fields().size(); ++k) {
        keyFields.push_back(k);
    }
    if (descriptors != DescriptorsOf(table, keyFields)) {
        throw Error(fileName,
                    keyCount == 0
                        ? std::string("the table has no key, yet this is its primary index")
                        : "its " + std::to_string(descriptors.size()) +
                              " fields are not the table's " + std::to_string(keyCount) +
                              " key fields");
    }
}

TableIndexes ReadTableIndexes(const std::string& tablePath, const Table& table) {
    TableIndexes indexes;
    const auto files = IndexFilesBeside(tablePath);
    for (const auto& [extension, path] : files) {
        try {
            if (extension == "PX") {
                CheckPrimaryIndex(ReadHeaderBytes(path), path, table);
                indexes.primaryIndexFile = path;
            } else if (extension[0] == 'X') {
                IndexEntries entries = ReadIndexEntries(ReadHeaderBytes(path), path, table);
                SecondaryIndex& index = entries.index;
                const auto companion = files.find(WithLetter('Y', extension));
                if (companion != files.end()) {
                    const auto descriptors = ReadTreeDescriptors(
                        ReadHeaderBytes(companion->second), companion->second,
                        {std::uint8_t(index.composite ? 7 : 4)}, "the tree of a secondary index");
                    if (descriptors != DescriptorsOf(table, entries.sortedOn)) {
                        throw Error(companion->second, "its fields are not those of " + path);
                    }
                    index.companionFile = companion->second;
                }
                indexes.secondary.push_back(std::move(index));
            } else if (const std::string owner = WithLetter('X', extension);
                       !files.contains(owner)) {
                throw Error(path, "the index it belongs to (." + owner + ") is missing");
            }
        } catch (const Error& error) {
            indexes.damaged.push_back(error);
        }
    }
    return indexes;
}

}  // namespace quorvex::paradox
