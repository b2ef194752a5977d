#pragma once

#include "output_sink.h"

#include "data/paradox/scramble.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace quorvex::pxwriter {

// Writes a .MB file as values arrive: small values share sub-allocated 4 KiB blocks (up to
// 64 values each), larger ones get a block of their own. Returns the pointer a record keeps.
class BlobWriter {
  public:
    BlobWriter(std::unique_ptr<OutputSink> sink, std::optional<paradox::ScrambleKey> key);

    // Values up to this many bytes are sub-allocated.
    static constexpr std::size_t kSubAllocatedLimit = 2048;

    std::uint32_t add(std::span<const std::uint8_t> value);
    void finish();

  private:
    void flushSubBlock();
    void writeBlock(std::uint64_t offset, std::vector<std::uint8_t> block);

    std::unique_ptr<OutputSink> sink_;
    std::optional<paradox::ScrambleKey> key_;
    std::uint64_t end_ = 0;  // where the next block goes
    std::vector<std::uint8_t> subBlock_;
    std::uint64_t subBlockOffset_ = 0;
    std::uint32_t nextSlot_ = 0;
    std::uint32_t nextParagraph_ = 0;
};

}  // namespace quorvex::pxwriter
