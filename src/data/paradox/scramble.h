#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quorvex::paradox {

// Password-protected tables keep their header in clear but scramble every data block and the
// whole .MB file in 256-byte chunks. Only the two low bytes of the key stored in the header take
// part, so no password is needed to read them.
inline constexpr std::size_t kScrambleChunk = 256;

struct ScrambleKey {
    std::uint8_t k0 = 0;
    std::uint8_t k1 = 0;
};

inline ScrambleKey ScrambleKeyFrom(std::uint32_t key) {
    return ScrambleKey{static_cast<std::uint8_t>(key & 0xFF),
                       static_cast<std::uint8_t>((key >> 8) & 0xFF)};
}

// One chunk, with the chunk parameters c and d. `in` and `out` must not overlap.
void UnscrambleChunk(const std::uint8_t* in, std::uint8_t* out, ScrambleKey key, std::uint8_t c,
                     std::uint8_t d);
void ScrambleChunk(const std::uint8_t* in, std::uint8_t* out, ScrambleKey key, std::uint8_t c,
                   std::uint8_t d);

// In place: the whole chunks of a table data block (chunk j of block k uses c = j, d = k).
void UnscrambleTableBlock(std::span<std::uint8_t> bytes, ScrambleKey key, std::uint32_t block);
void ScrambleTableBlock(std::span<std::uint8_t> bytes, ScrambleKey key, std::uint32_t block);

// In place: whole chunks of a .MB file, which all use c = k0 + 1 and d = k1 + 1.
void UnscrambleBlobChunks(std::span<std::uint8_t> bytes, ScrambleKey key);
void ScrambleBlobChunks(std::span<std::uint8_t> bytes, ScrambleKey key);

}  // namespace quorvex::paradox
