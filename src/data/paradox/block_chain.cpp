#include "data/paradox/block_chain.h"

#include "data/paradox/error.h"
#include "data/paradox/little_endian.h"
#include "data/paradox/scramble.h"

#include <array>

namespace quorvex::paradox {

namespace {

constexpr std::uint32_t kBlockHeaderSize = 6;

struct BlockHeader {
    std::uint16_t next = 0;
    std::int16_t lastRecordOffset = 0;
};

BlockHeader ReadBlockHeader(const ByteSource& table, const TableHeader& header,
                            std::uint16_t number) {
    const std::uint64_t offset = BlockOffset(header, number);
    const std::string where = "block " + std::to_string(number);
    if (!header.scrambled()) {
        if (!table.contains(offset, kBlockHeaderSize)) {
            throw Error(table.name(), where + " of the record chain lies past the end of the file");
        }
        std::array<std::uint8_t, kBlockHeaderSize> bytes{};
        table.read(offset, bytes);
        return BlockHeader{ReadU16(bytes.data()), ReadI16(bytes.data() + 4)};
    }
    // The block header sits in the block's first chunk, which has to be read whole.
    if (!table.contains(offset, kScrambleChunk)) {
        throw Error(table.name(), where + " of the record chain lies past the end of the file");
    }
    std::array<std::uint8_t, kScrambleChunk> scrambled{};
    std::array<std::uint8_t, kScrambleChunk> plain{};
    table.read(offset, scrambled);
    UnscrambleChunk(scrambled.data(), plain.data(), ScrambleKeyFrom(header.scrambleKey), 0,
                    static_cast<std::uint8_t>(number));
    return BlockHeader{ReadU16(plain.data()), ReadI16(plain.data() + 4)};
}

}  // namespace

std::uint64_t BlockOffset(const TableHeader& header, std::uint16_t number) {
    return header.headerSize + (static_cast<std::uint64_t>(number) - 1) * header.blockSize;
}

std::uint32_t BlockBytesNeeded(const TableHeader& header, std::uint32_t records) {
    const std::uint32_t bytes = kBlockHeaderSize + records * header.recordSize;
    if (!header.scrambled()) {
        return bytes;
    }
    const std::uint32_t chunk = static_cast<std::uint32_t>(kScrambleChunk);
    return (bytes + chunk - 1) / chunk * chunk;
}

BlockChain WalkBlockChain(const ByteSource& table, const TableHeader& header,
                          std::vector<std::string>& warnings) {
    BlockChain chain;
    const std::uint32_t capacity = (header.blockSize - kBlockHeaderSize) / header.recordSize;
    std::vector<bool> seen(std::size_t{header.fileBlocks} + 1, false);
    for (std::uint16_t number = header.firstBlock; number != 0;) {
        const std::string where = "block " + std::to_string(number);
        if (number > header.fileBlocks) {
            throw Error(table.name(), "the record chain leads to " + where +
                                          ", but the header counts only " +
                                          std::to_string(header.fileBlocks) + " blocks");
        }
        if (seen[number]) {
            throw Error(table.name(), "the record chain loops back to " + where);
        }
        seen[number] = true;
        const BlockHeader block = ReadBlockHeader(table, header, number);
        std::uint32_t records = 0;
        if (block.lastRecordOffset >= 0) {
            if (block.lastRecordOffset % header.recordSize != 0) {
                throw Error(table.name(), where + " is damaged: its last record offset " +
                                              std::to_string(block.lastRecordOffset) +
                                              " is not a multiple of the record size " +
                                              std::to_string(header.recordSize));
            }
            records = static_cast<std::uint32_t>(block.lastRecordOffset) / header.recordSize + 1;
            if (records > capacity) {
                throw Error(table.name(), where + " is damaged: it claims " +
                                              std::to_string(records) + " records, but only " +
                                              std::to_string(capacity) + " fit in a block");
            }
            if (!table.contains(BlockOffset(header, number), BlockBytesNeeded(header, records))) {
                throw Error(table.name(), where +
                                              " is cut short: its records run past the end "
                                              "of the file");
            }
        }
        chain.blocks.push_back(ChainBlock{number, static_cast<std::uint16_t>(records)});
        chain.rowCount += records;
        number = block.next;
    }
    if (chain.rowCount != header.storedRecordCount) {
        warnings.push_back("the header counts " + std::to_string(header.storedRecordCount) +
                           " records but the block chain holds " + std::to_string(chain.rowCount) +
                           "; the records of the chain are read");
    }
    return chain;
}

}  // namespace quorvex::paradox
