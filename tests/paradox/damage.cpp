#include "damage.h"

#include "data/paradox/error.h"
#include "data/paradox/table.h"

namespace quorvex::test {

namespace {

ReadOutcome ReadEverything(paradox::Table table) {
    ReadOutcome outcome;
    Row row;
    while (table.next()) {
        table.readRow(row);
        outcome.rows.push_back(row);
    }
    return outcome;
}

template <typename Open>
ReadOutcome Guarded(Open open) {
    try {
        return ReadEverything(open());
    } catch (const paradox::Error& error) {
        ReadOutcome outcome;
        outcome.failed = true;
        outcome.error = error.what();
        return outcome;
    }
}

}  // namespace

ReadOutcome ReadFromMemory(const std::string& name, const FileBytes& table,
                           const std::optional<FileBytes>& blobs) {
    return Guarded([&] { return paradox::Table::FromMemory(name, table, blobs); });
}

ReadOutcome ReadFromFile(const std::string& path) {
    return Guarded([&] { return paradox::Table::Open(path); });
}

std::uint16_t U16At(const FileBytes& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

void PutU16(FileBytes& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(FileBytes& bytes, std::size_t offset, std::uint32_t value) {
    PutU16(bytes, offset, static_cast<std::uint16_t>(value));
    PutU16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace quorvex::test
