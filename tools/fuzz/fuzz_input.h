#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quorvex::fuzz {

// A fuzz input holds a table file and, optionally, its .MB file: a little-endian u32 with the
// table's length, the table's bytes, then the .MB bytes (none: no .MB file).
struct TableFiles {
    std::vector<std::uint8_t> table;
    std::optional<std::vector<std::uint8_t>> blobs;
};

inline TableFiles SplitFuzzInput(const std::uint8_t* data, std::size_t size) {
    TableFiles files;
    if (size < 4) {
        files.table.assign(data, data + size);
        return files;
    }
    std::size_t tableSize = static_cast<std::size_t>(data[0]) | (std::size_t{data[1]} << 8) |
                            (std::size_t{data[2]} << 16) | (std::size_t{data[3]} << 24);
    const std::size_t rest = size - 4;
    if (tableSize > rest) {
        tableSize = rest;
    }
    files.table.assign(data + 4, data + 4 + tableSize);
    if (tableSize < rest) {
        files.blobs.emplace(data + 4 + tableSize, data + size);
    }
    return files;
}

inline std::vector<std::uint8_t> JoinFuzzInput(const TableFiles& files) {
    std::vector<std::uint8_t> input;
    input.reserve(4 + files.table.size() + (files.blobs ? files.blobs->size() : 0));
    const auto size = static_cast<std::uint32_t>(files.table.size());
    for (int i = 0; i < 4; ++i) {
        input.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    }
    input.insert(input.end(), files.table.begin(), files.table.end());
    if (files.blobs) {
        input.insert(input.end(), files.blobs->begin(), files.blobs->end());
    }
    return input;
}

}  // namespace quorvex::fuzz
