#include "data/paradox/error.h"
#include "data/paradox/little_endian.h"
#include "data/paradox/scramble.h"
#include "data/paradox/table_impl.h"

namespace quorvex::paradox {

namespace {

constexpr std::size_t kBlockHeaderSize = 6;

}  // namespace

void Table::Impl::loadBlock() {
    const ChainBlock& block = chain.blocks[blockIndex];
    const std::uint32_t needed = BlockBytesNeeded(header, block.records);
    buffer.resize(needed);
    source->read(BlockOffset(header, block.number), buffer);
    if (header.scrambled()) {
        UnscrambleTableBlock(buffer, ScrambleKeyFrom(header.scrambleKey), block.number);
    }
    // The walk at opening counted this block's records; a different count now means the file
    // was changed in the meantime, and its rows can no longer be trusted.
    const std::int16_t lastOffset = ReadI16(buffer.data() + 4);
    const std::uint32_t records =
        lastOffset < 0 ? 0 : static_cast<std::uint32_t>(lastOffset) / header.recordSize + 1;
    if (records != block.records) {
        throw Error(source->name(), "the file was changed while it was being read (block " +
                                        std::to_string(block.number) + ")");
    }
    loaded = true;
}

const std::uint8_t* Table::Impl::currentRecord() const {
    return buffer.data() + kBlockHeaderSize + recordInBlock * header.recordSize;
}

const TableHeader& Table::header() const { return impl_->header; }
const std::vector<Field>& Table::fields() const { return impl_->fields; }
std::uint64_t Table::rowCount() const { return impl_->chain.rowCount; }
const std::vector<std::string>& Table::warnings() const { return impl_->warnings; }
const CodePage& Table::codePage() const { return impl_->decoder->codePage(); }
const std::string& Table::storedName() const { return impl_->storedName; }

std::string Table::decodeText(std::span<const std::uint8_t> bytes) const {
    return impl_->decoder->decode(bytes);
}

bool Table::next() {
    Impl& s = *impl_;
    const std::vector<ChainBlock>& blocks = s.chain.blocks;
    if (!s.started) {
        s.started = true;
        s.blockIndex = 0;
        s.recordInBlock = 0;
    } else if (s.blockIndex < blocks.size()) {
        ++s.recordInBlock;
    }
    while (s.blockIndex < blocks.size() && s.recordInBlock >= blocks[s.blockIndex].records) {
        ++s.blockIndex;
        s.recordInBlock = 0;
        s.loaded = false;
    }
    if (s.blockIndex >= blocks.size()) {
        return false;
    }
    if (!s.loaded) {
        s.loadBlock();
    }
    ++s.rowNumber;
    return true;
}

Value Table::value(std::size_t field) const {
    const Impl& s = *impl_;
    if (!s.started || s.blockIndex >= s.chain.blocks.size() || !s.loaded) {
        throw Error(s.source->name(), "there is no current row to read");
    }
    if (field >= s.fields.size()) {
        throw Error(s.source->name(), "the table has no field number " + std::to_string(field));
    }
    return s.decodeField(field);
}

void Table::readRow(std::vector<Value>& values) const {
    values.resize(impl_->fields.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = value(i);
    }
}

std::uint64_t Table::rowNumber() const { return impl_->rowNumber; }

void Table::rewind() {
    impl_->started = false;
    impl_->loaded = false;
    impl_->blockIndex = 0;
    impl_->recordInBlock = 0;
    impl_->rowNumber = 0;
}

}  // namespace quorvex::paradox
