#include "blob_writer.h"

#include "data/paradox/little_endian.h"

#include <cstring>
#include <stdexcept>

namespace quorvex::pxwriter {

namespace {

constexpr std::uint32_t kUnit = 4096;
constexpr std::uint32_t kParagraph = 16;
constexpr std::uint32_t kFirstDataParagraph = 0x150 / kParagraph;
constexpr std::uint32_t kSlots = 64;
// The first bytes of every .MB header block Paradox writes.
constexpr std::uint8_t kHeaderStart[] = {0x00, 0x01, 0x00, 0x01, 0x00, 0x82, 0x73, 0x02,
                                         0x00, 0x29, 0x00, 0x00, 0x10, 0x00, 0x10, 0x00};

}  // namespace

BlobWriter::BlobWriter(std::unique_ptr<OutputSink> sink, std::optional<paradox::ScrambleKey> key)
    : sink_(std::move(sink)), key_(key) {
    std::vector<std::uint8_t> header(kUnit, 0);
    std::memcpy(header.data(), kHeaderStart, sizeof kHeaderStart);
    writeBlock(0, std::move(header));
    end_ = kUnit;
}

void BlobWriter::writeBlock(std::uint64_t offset, std::vector<std::uint8_t> block) {
    if (key_) {
        paradox::ScrambleBlobChunks(block, *key_);
    }
    sink_->write(offset, block);
}

std::uint32_t BlobWriter::add(std::span<const std::uint8_t> value) {
    if (value.empty()) {
        throw std::invalid_argument("an empty value is NULL and needs no .MB space");
    }
    if (value.size() <= kSubAllocatedLimit) {
        const auto paragraphs =
            static_cast<std::uint32_t>((value.size() + kParagraph - 1) / kParagraph);
        if (subBlock_.empty() || nextSlot_ == kSlots ||
            (nextParagraph_ + paragraphs) * kParagraph > kUnit) {
            flushSubBlock();
            subBlock_.assign(kUnit, 0);
            subBlock_[0] = 3;
            paradox::WriteU16(subBlock_.data() + 1, 1);
            subBlockOffset_ = end_;
            end_ += kUnit;
            nextSlot_ = 0;
            nextParagraph_ = kFirstDataParagraph;
        }
        const std::uint32_t slot = nextSlot_++;
        std::uint8_t* entry = subBlock_.data() + 0x0C + 5 * slot;
        entry[0] = static_cast<std::uint8_t>(nextParagraph_);
        entry[1] = static_cast<std::uint8_t>(paragraphs);
        paradox::WriteU16(entry + 2, 1);
        entry[4] = static_cast<std::uint8_t>(value.size() - kParagraph * (paragraphs - 1));
        std::memcpy(subBlock_.data() + kParagraph * nextParagraph_, value.data(), value.size());
        nextParagraph_ += paragraphs;
        return static_cast<std::uint32_t>(subBlockOffset_) | slot;
    }
    const std::uint64_t units = (9 + value.size() + kUnit - 1) / kUnit;
    if (units > 0xFFFF || end_ + units * kUnit > 0xFFFFFF00u) {
        throw std::invalid_argument("the value is too large for a .MB file");
    }
    std::vector<std::uint8_t> block(units * kUnit, 0);
    block[0] = 2;
    paradox::WriteU16(block.data() + 1, static_cast<std::uint16_t>(units));
    paradox::WriteU32(block.data() + 3, static_cast<std::uint32_t>(value.size()));
    paradox::WriteU16(block.data() + 7, 1);
    std::memcpy(block.data() + 9, value.data(), value.size());
    const std::uint64_t offset = end_;
    end_ += block.size();
    writeBlock(offset, std::move(block));
    return static_cast<std::uint32_t>(offset) | 0xFFu;
}

void BlobWriter::flushSubBlock() {
    if (!subBlock_.empty()) {
        writeBlock(subBlockOffset_, std::move(subBlock_));
        subBlock_.clear();
    }
}

void BlobWriter::finish() {
    flushSubBlock();
    sink_->close();
}

}  // namespace quorvex::pxwriter
