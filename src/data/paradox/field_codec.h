#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quorvex::paradox {

// Numbers in records are big-endian with the top bit inverted, so that stored values sort
// bytewise; all-zero bytes are NULL.

// A 1-, 2- or 4-byte integer; nothing for NULL.
std::optional<std::int32_t> DecodeSignFlippedInteger(const std::uint8_t* bytes, int size);
void EncodeSignFlippedInteger(std::int32_t value, std::uint8_t* bytes, int size);

// An 8-byte double; nothing for NULL (the double's bits are returned as stored, NaN included).
std::optional<double> DecodeSignFlippedDouble(const std::uint8_t* bytes);
void EncodeSignFlippedDouble(double value, std::uint8_t* bytes);

// A 17-byte BCD value with `scale` decimals as its decimal text ("-1.23", "0"); nothing for
// NULL. The digits end at the first nibble above 9: Paradox fills values from a double, and
// the nibbles past its precision are not digits.
std::optional<std::string> DecodeBcd(const std::uint8_t* bytes, int scale);
// Writes a decimal text ("-12.5", "0.001") with `scale` decimals; false when it does not fit
// the 32 digits or is not a number.
bool EncodeBcd(const std::string& decimal, int scale, std::uint8_t* bytes);

// The part of a memo-type field kept in the record: leader, .MB pointer, value length.
struct BlobReference {
    std::span<const std::uint8_t> leader;
    std::uint32_t pointer = 0;
    std::uint32_t length = 0;
};
BlobReference ParseBlobReference(const std::uint8_t* bytes, int size);

}  // namespace quorvex::paradox
