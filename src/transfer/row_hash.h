#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quorvex {

// A 128-bit digest of one row's values, so that two sides' rows are compared as multisets
// without keeping the rows: two different rows share a digest with a chance of about 2^-128 per
// pair, far below any table's size.
struct RowHash {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    friend bool operator==(const RowHash&, const RowHash&) = default;
};

struct RowHashKey {
    std::size_t operator()(const RowHash& hash) const { return hash.low; }
};

// The digest of a byte string (MurmurHash3's 128-bit mixing for x64, seed 0).
RowHash HashBytes(const char* data, std::size_t size);

// Builds the digest of a row value by value: each value is written with a mark for NULL and its
// length before its UTF-16 code units, so that no two different rows (a value split differently
// between two fields, NULL and an empty text) give the same bytes.
class RowHasher {
  public:
    void Begin() { bytes_.clear(); }
    void Add(const std::optional<QString>& value);
    RowHash Finish() const { return HashBytes(bytes_.data(), bytes_.size()); }

  private:
    std::vector<char> bytes_;
};

}  // namespace quorvex
