#include "data/paradox/field_codec.h"

#include "data/paradox/field.h"
#include "data/paradox/little_endian.h"

#include <bit>
#include <cstring>

namespace quorvex::paradox {

namespace {

constexpr int kBcdDigits = 32;

}  // namespace

std::optional<std::int32_t> DecodeSignFlippedInteger(const std::uint8_t* bytes, int size) {
    std::uint32_t u = 0;
    for (int i = 0; i < size; ++i) {
        u = (u << 8) | bytes[i];
    }
    if (u == 0) {
        return std::nullopt;
    }
    const int bits = 8 * size;
    const std::int64_t value = static_cast<std::int64_t>(u) - (std::int64_t{1} << (bits - 1));
    return static_cast<std::int32_t>(value);
}

void EncodeSignFlippedInteger(std::int32_t value, std::uint8_t* bytes, int size) {
    const int bits = 8 * size;
    const auto u = static_cast<std::uint32_t>(static_cast<std::int64_t>(value) +
                                              (std::int64_t{1} << (bits - 1)));
    for (int i = size - 1, shift = 0; i >= 0; --i, shift += 8) {
        bytes[i] = static_cast<std::uint8_t>(u >> shift);
    }
}

std::optional<double> DecodeSignFlippedDouble(const std::uint8_t* bytes) {
    std::uint64_t u = 0;
    for (int i = 0; i < 8; ++i) {
        u = (u << 8) | bytes[i];
    }
    if (u == 0) {
        return std::nullopt;
    }
    constexpr std::uint64_t top = std::uint64_t{1} << 63;
    u = (u & top) != 0 ? (u & ~top) : ~u;
    return std::bit_cast<double>(u);
}

void EncodeSignFlippedDouble(double value, std::uint8_t* bytes) {
    constexpr std::uint64_t top = std::uint64_t{1} << 63;
    std::uint64_t u = std::bit_cast<std::uint64_t>(value);
    u = (u & top) != 0 ? ~u : (u | top);
    for (int i = 7, shift = 0; i >= 0; --i, shift += 8) {
        bytes[i] = static_cast<std::uint8_t>(u >> shift);
    }
}

std::optional<std::string> DecodeBcd(const std::uint8_t* bytes, int scale) {
    if (bytes[0] == 0) {
        return std::nullopt;
    }
    const bool negative = (bytes[0] & 0x80) == 0;
    const std::uint8_t invert = negative ? 0xFF : 0x00;
    char digits[kBcdDigits];
    bool junk = false;
    for (int i = 0; i < kBcdDigits; ++i) {
        const std::uint8_t byte = bytes[1 + i / 2] ^ invert;
        const int nibble = (i % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
        junk = junk || nibble > 9;
        digits[i] = junk ? '0' : static_cast<char>('0' + nibble);
    }
    if (scale < 0) {
        scale = 0;
    }
    if (scale > kBcdDigits) {
        scale = kBcdDigits;
    }
    const int integerDigits = kBcdDigits - scale;
    int first = 0;  // the first significant digit of the integer part
    while (first < integerDigits && digits[first] == '0') {
        ++first;
    }
    int fractionEnd = kBcdDigits;
    while (fractionEnd > integerDigits && digits[fractionEnd - 1] == '0') {
        --fractionEnd;
    }
    const bool zero = first == integerDigits && fractionEnd == integerDigits;
    std::string text;
    text.reserve(kBcdDigits + 2);
    if (negative && !zero) {
        text.push_back('-');
    }
    if (first == integerDigits) {
        text.push_back('0');
    } else {
        text.append(digits + first, digits + integerDigits);
    }
    if (fractionEnd > integerDigits) {
        text.push_back('.');
        text.append(digits + integerDigits, digits + fractionEnd);
    }
    return text;
}

bool EncodeBcd(const std::string& decimal, int scale, std::uint8_t* bytes) {
    if (scale < 0 || scale > kBcdDigits) {
        return false;
    }
    std::size_t at = 0;
    bool negative = false;
    if (at < decimal.size() && (decimal[at] == '-' || decimal[at] == '+')) {
        negative = decimal[at] == '-';
        ++at;
    }
    std::string whole;
    std::string fraction;
    bool point = false;
    for (; at < decimal.size(); ++at) {
        const char c = decimal[at];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            (point ? fraction : whole) += c;
        } else {
            return false;
        }
    }
    if (whole.empty() && fraction.empty()) {
        return false;
    }
    while (!whole.empty() && whole.front() == '0') {
        whole.erase(whole.begin());
    }
    if (static_cast<int>(fraction.size()) > scale ||
        static_cast<int>(whole.size()) > kBcdDigits - scale) {
        return false;
    }
    fraction.append(static_cast<std::size_t>(scale) - fraction.size(), '0');
    std::string digits(static_cast<std::size_t>(kBcdDigits - scale) - whole.size(), '0');
    digits += whole;
    digits += fraction;
    std::memset(bytes, 0, kBcdStorage);
    bytes[0] = static_cast<std::uint8_t>((negative ? 0x00 : 0x80) | 0x40 | scale);
    for (int i = 0; i < kBcdDigits; ++i) {
        const auto nibble = static_cast<std::uint8_t>(digits[static_cast<std::size_t>(i)] - '0');
        bytes[1 + i / 2] |= (i % 2 == 0) ? static_cast<std::uint8_t>(nibble << 4) : nibble;
    }
    if (negative) {
        for (int i = 1; i < kBcdStorage; ++i) {
            bytes[i] ^= 0xFF;
        }
    }
    return true;
}

BlobReference ParseBlobReference(const std::uint8_t* bytes, int size) {
    const int leader = size - kBlobTrailer;
    return BlobReference{std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(leader)),
                         ReadU32(bytes + leader), ReadU32(bytes + leader + 4)};
}

}  // namespace quorvex::paradox
