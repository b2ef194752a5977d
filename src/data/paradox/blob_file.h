#pragma once

#include "data/paradox/byte_source.h"
#include "data/paradox/scramble.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace quorvex::paradox {

// The memo/blob file (.MB) of a table: values too long for their record live here, found by
// the pointer and length kept in the record.
class BlobFile {
  public:
    BlobFile(std::unique_ptr<ByteSource> source, std::optional<ScrambleKey> key);

    // The `length` bytes of the value the record's pointer names. Throws Error naming the .MB
    // file when the pointer leads outside it, to a block that holds no value, or to a value of
    // another length.
    std::vector<std::uint8_t> read(std::uint32_t pointer, std::uint32_t length) const;

    const std::string& name() const { return source_->name(); }

  private:
    std::vector<std::uint8_t> readRange(std::uint64_t offset, std::uint64_t count) const;
    std::vector<std::uint8_t> readSingleValue(std::uint32_t blockOffset, std::uint32_t pointer,
                                              std::uint32_t length,
                                              const std::vector<std::uint8_t>& head) const;
    std::vector<std::uint8_t> readSubAllocated(std::uint32_t blockOffset, std::uint32_t index,
                                               std::uint32_t length) const;
    [[noreturn]] void fail(std::uint32_t pointer, const std::string& fault) const;

    std::unique_ptr<ByteSource> source_;
    std::optional<ScrambleKey> key_;
};

}  // namespace quorvex::paradox
