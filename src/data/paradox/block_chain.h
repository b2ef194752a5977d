#pragma once

#include "data/paradox/byte_source.h"
#include "data/paradox/header.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::paradox {

// One block of the record chain and how many records it holds.
struct ChainBlock {
    std::uint16_t number = 0;
    std::uint16_t records = 0;
};

struct BlockChain {
    std::vector<ChainBlock> blocks;  // in chain order
    std::uint64_t rowCount = 0;
};

// Where data block `number` (1-based) starts in the file.
std::uint64_t BlockOffset(const TableHeader& header, std::uint16_t number);

// Bytes of a block that must be read to get its header and `records` records: for a scrambled
// table whole 256-byte chunks, since bytes are moved within a chunk.
std::uint32_t BlockBytesNeeded(const TableHeader& header, std::uint32_t records);

// Follows the record chain from the first block, checking every link: block numbers inside the
// file, no block seen twice, record counts that fit the block, records wholly inside the file.
// A record count in the header that disagrees with the chain adds a warning; the chain wins.
BlockChain WalkBlockChain(const ByteSource& table, const TableHeader& header,
                          std::vector<std::string>& warnings);

}  // namespace quorvex::paradox
