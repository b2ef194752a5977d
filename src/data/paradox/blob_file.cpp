#include "data/paradox/blob_file.h"

#include "data/paradox/error.h"
#include "data/paradox/little_endian.h"

#include <cstring>

namespace quorvex::paradox {

namespace {

constexpr std::uint32_t kUnit = 4096;       // .MB blocks are multiples of this
constexpr std::uint32_t kSingleHeader = 9;  // type, units, length, modification number
constexpr std::uint32_t kSlotTable = 0x0C;  // slot i of a sub-allocated block at 0x0C + 5 i
constexpr std::uint32_t kSlotCount = 64;
constexpr std::uint32_t kParagraph = 16;
constexpr std::uint8_t kSingleValueBlock = 2;
constexpr std::uint8_t kSubAllocatedBlock = 3;

std::string HexPointer(std::uint32_t pointer) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += digits[(pointer >> shift) & 0xF];
    }
    return "0x" + text;
}

}  // namespace

BlobFile::BlobFile(std::unique_ptr<ByteSource> source, std::optional<ScrambleKey> key)
    : source_(std::move(source)), key_(key) {}

void BlobFile::fail(std::uint32_t pointer, const std::string& fault) const {
    throw Error(source_->name(), "the value at memo pointer " + HexPointer(pointer) + " " + fault);
}

std::vector<std::uint8_t> BlobFile::readRange(std::uint64_t offset, std::uint64_t count) const {
    if (!key_) {
        std::vector<std::uint8_t> bytes(count);
        source_->read(offset, bytes);
        return bytes;
    }
    // Scrambled: unscramble the whole chunks around the range, then keep the range.
    const std::uint64_t begin = offset / kScrambleChunk * kScrambleChunk;
    const std::uint64_t end =
        (offset + count + kScrambleChunk - 1) / kScrambleChunk * kScrambleChunk;
    if (!source_->contains(begin, end - begin)) {
        throw Error(source_->name(), "a value runs past the end of the file");
    }
    std::vector<std::uint8_t> bytes(end - begin);
    source_->read(begin, bytes);
    UnscrambleBlobChunks(bytes, *key_);
    const std::size_t skip = offset - begin;
    if (skip != 0) {
        std::memmove(bytes.data(), bytes.data() + skip, count);
    }
    bytes.resize(count);
    return bytes;
}

std::vector<std::uint8_t> BlobFile::read(std::uint32_t pointer, std::uint32_t length) const {
    const std::uint32_t blockOffset = pointer & 0xFFFFFF00u;
    const std::uint32_t index = pointer & 0xFFu;
    if (blockOffset < kUnit || blockOffset % kUnit != 0) {
        fail(pointer, "does not point at a value block");
    }
    if (!source_->contains(blockOffset, kSingleHeader)) {
        fail(pointer, "lies past the end of the file (" + std::to_string(source_->size()) +
                          " bytes); the file may be cut short");
    }
    const std::vector<std::uint8_t> head = readRange(blockOffset, kSingleHeader);
    if (head[0] == kSingleValueBlock) {
        if (index != 0xFF) {
            fail(pointer,
                 "names slot " + std::to_string(index) + " of a block that holds a single value");
        }
        return readSingleValue(blockOffset, pointer, length, head);
    }
    if (head[0] == kSubAllocatedBlock) {
        return readSubAllocated(blockOffset, index, length);
    }
    fail(pointer, "lands on a block of type " + std::to_string(head[0]) +
                      ", which holds no value (a damaged reference)");
}

std::vector<std::uint8_t> BlobFile::readSingleValue(std::uint32_t blockOffset,
                                                    std::uint32_t pointer, std::uint32_t length,
                                                    const std::vector<std::uint8_t>& head) const {
    const std::uint32_t stored = ReadU32(head.data() + 3);
    if (stored != length) {
        fail(pointer, "is " + std::to_string(stored) + " bytes long, but the record says " +
                          std::to_string(length));
    }
    const std::uint64_t units = ReadU16(head.data() + 1);
    if (std::uint64_t{kSingleHeader} + length > units * kUnit) {
        fail(pointer, "does not fit in its block of " + std::to_string(units) + " units");
    }
    if (!source_->contains(std::uint64_t{blockOffset} + kSingleHeader, length)) {
        fail(pointer, "runs past the end of the file; the file may be cut short");
    }
    return readRange(std::uint64_t{blockOffset} + kSingleHeader, length);
}

std::vector<std::uint8_t> BlobFile::readSubAllocated(std::uint32_t blockOffset, std::uint32_t index,
                                                     std::uint32_t length) const {
    const std::uint32_t pointer = blockOffset | index;
    if (index >= kSlotCount) {
        fail(pointer, "names slot " + std::to_string(index) + " of a block that has " +
                          std::to_string(kSlotCount));
    }
    const std::uint64_t slotAt = std::uint64_t{blockOffset} + kSlotTable + 5 * index;
    if (!source_->contains(slotAt, 5)) {
        fail(pointer, "lies past the end of the file; the file may be cut short");
    }
    const std::vector<std::uint8_t> slot = readRange(slotAt, 5);
    const std::uint32_t start = slot[0];
    const std::uint32_t paragraphs = slot[1];
    const std::uint32_t lastParagraph = slot[4];
    if (start == 0 || paragraphs == 0) {
        fail(pointer, "names an unused slot");
    }
    // The length of the last paragraph is 1..16, or 0 when it is full.
    const bool lengthMatches = length == kParagraph * (paragraphs - 1) + lastParagraph ||
                               length == kParagraph * paragraphs + lastParagraph;
    if (!lengthMatches) {
        fail(pointer, "has a slot that does not match the record's length of " +
                          std::to_string(length) + " bytes (a stale pointer)");
    }
    const std::uint64_t dataAt = std::uint64_t{blockOffset} + kParagraph * start;
    if (std::uint64_t{kParagraph} * start + length > kUnit) {
        fail(pointer, "runs past the end of its block");
    }
    if (!source_->contains(dataAt, length)) {
        fail(pointer, "runs past the end of the file; the file may be cut short");
    }
    return readRange(dataAt, length);
}

}  // namespace quorvex::paradox
