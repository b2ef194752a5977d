#include "transfer/row_hash.h"

#include <cstring>

namespace quorvex {

namespace {

constexpr std::uint64_t kC1 = 0x87c37b91114253d5ULL;
constexpr std::uint64_t kC2 = 0x4cf5ad432745937fULL;

constexpr std::uint64_t RotateLeft(std::uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

constexpr std::uint64_t FinalMix(std::uint64_t k) {
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdULL;
    k ^= k >> 33;
    k *= 0xc4ceb9fe1a85ec53ULL;
    k ^= k >> 33;
    return k;
}

std::uint64_t Load(const char* bytes) {
    std::uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);  // little-endian on every target built for
    return value;
}

std::uint64_t MixFirst(std::uint64_t k) { return RotateLeft(k * kC1, 31) * kC2; }
std::uint64_t MixSecond(std::uint64_t k) { return RotateLeft(k * kC2, 33) * kC1; }

}  // namespace

RowHash HashBytes(const char* data, std::size_t size) {
    std::uint64_t h1 = 0;
    std::uint64_t h2 = 0;
    const std::size_t blocks = size / 16;
    for (std::size_t i = 0; i < blocks; ++i) {
        const char* block = data + i * 16;
        h1 ^= MixFirst(Load(block));
        h1 = (RotateLeft(h1, 27) + h2) * 5 + 0x52dce729;
        h2 ^= MixSecond(Load(block + 8));
        h2 = (RotateLeft(h2, 31) + h1) * 5 + 0x38495ab5;
    }
    // The last 0 to 15 bytes, little-endian into two words.
    const unsigned char* tail = reinterpret_cast<const unsigned char*>(data + blocks * 16);
    const std::size_t rest = size & 15;
    std::uint64_t k1 = 0;
    std::uint64_t k2 = 0;
    for (std::size_t i = rest; i > 8; --i) {
        k2 = (k2 << 8) | tail[i - 1];
    }
    for (std::size_t i = rest < 8 ? rest : 8; i > 0; --i) {
        k1 = (k1 << 8) | tail[i - 1];
    }
    if (rest > 8) {
        h2 ^= MixSecond(k2);
    }
    if (rest > 0) {
        h1 ^= MixFirst(k1);
    }
    h1 ^= size;
    h2 ^= size;
    h1 += h2;
    h2 += h1;
    h1 = FinalMix(h1);
    h2 = FinalMix(h2);
    h1 += h2;
    h2 += h1;
    return {h1, h2};
}

void RowHasher::Add(const std::optional<QString>& value) {
    if (!value) {
        bytes_.push_back('\0');
        return;
    }
    bytes_.push_back('\1');
    const auto length = static_cast<std::uint32_t>(value->size());
    const char* lengthBytes = reinterpret_cast<const char*>(&length);
    bytes_.insert(bytes_.end(), lengthBytes, lengthBytes + sizeof length);
    const char* text = reinterpret_cast<const char*>(value->utf16());
    bytes_.insert(bytes_.end(), text, text + value->size() * 2);
}

}  // namespace quorvex
