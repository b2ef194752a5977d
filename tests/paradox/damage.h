#pragma once

#include "writer_tables.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::test {

using FileBytes = std::vector<std::uint8_t>;

// The outcome of reading a whole table: every row, or the reader's error.
struct ReadOutcome {
    bool failed = false;
    std::string error;
    std::vector<Row> rows;
};

// Opens the table from memory and reads every value; the reader's Error is caught, anything
// else escapes and fails the test.
ReadOutcome ReadFromMemory(const std::string& name, const FileBytes& table,
                           const std::optional<FileBytes>& blobs = std::nullopt);
ReadOutcome ReadFromFile(const std::string& path);

std::uint16_t U16At(const FileBytes& bytes, std::size_t offset);
void PutU16(FileBytes& bytes, std::size_t offset, std::uint16_t value);
void PutU32(FileBytes& bytes, std::size_t offset, std::uint32_t value);

}  // namespace quorvex::test
