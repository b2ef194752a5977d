#pragma once

// The state behind Table, shared by the files that open a table, walk its rows and decode its
// values. Not part of the reader's interface.

#include "data/paradox/blob_file.h"
#include "data/paradox/block_chain.h"
#include "data/paradox/byte_source.h"
#include "data/paradox/code_page.h"
#include "data/paradox/table.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::paradox {

struct Table::Impl {
    std::unique_ptr<ByteSource> source;
    std::optional<BlobFile> blobs;
    std::string blobProblem;  // why `blobs` is absent although the table has memo-type fields
    TableHeader header;
    std::vector<Field> fields;
    std::string storedName;
    BlockChain chain;
    std::unique_ptr<TextDecoder> decoder;
    std::vector<std::string> warnings;

    // The cursor: the block in `buffer` and the record within it.
    std::size_t blockIndex = 0;
    std::size_t recordInBlock = 0;
    bool started = false;
    bool loaded = false;
    std::uint64_t rowNumber = 0;
    std::vector<std::uint8_t> buffer;

    void loadBlock();
    const std::uint8_t* currentRecord() const;
    Value decodeField(std::size_t index) const;
    std::vector<std::uint8_t> readBlob(const Field& field, std::uint32_t pointer,
                                       std::uint32_t length) const;
    [[noreturn]] void failValue(const Field& field, const std::string& fault) const;
};

// Opens a table's .MB file: nothing when there is none; throws Error when it cannot be read.
using BlobOpener = std::function<std::unique_ptr<ByteSource>()>;

// Builds a Table's state from an opened table file; `openBlobs` is called only for tables with
// memo-type fields.
std::unique_ptr<Table::Impl> OpenTableImpl(std::unique_ptr<ByteSource> source,
                                           const BlobOpener& openBlobs, const OpenOptions& options);

}  // namespace quorvex::paradox
