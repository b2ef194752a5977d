#include "table_writer.h"

#include "blob_writer.h"
#include "output_sink.h"
#include "record_encoder.h"
#include "table_header_writer.h"
#include "text_encoder.h"

#include "data/paradox/little_endian.h"
#include "data/paradox/scramble.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace quorvex::pxwriter {

struct TableWriter::State {
    TableDesign design;
    std::vector<paradox::Field> fields;
    std::uint16_t recordSize = 0;
    std::uint16_t headerSize = 0;
    std::uint32_t blockSize = 0;
    std::uint32_t perBlock = 0;
    std::string storedName;
    std::unique_ptr<TextEncoder> encoder;
    std::unique_ptr<OutputSink> table;
    std::unique_ptr<BlobWriter> blobs;
    std::vector<std::uint8_t> block;  // the block being filled
    std::uint32_t recordsInBlock = 0;
    std::uint32_t blocksWritten = 0;
    std::uint64_t rows = 0;
    std::int32_t highestAutoIncrement = 0;
    bool finished = false;

    void flushBlock(bool last);
};

namespace {

std::string IconvName(int codePage) {
    return codePage == 936 ? "GBK" : "CP" + std::to_string(codePage);
}

bool NeedsBlobFile(const TableDesign& design) {
    return std::any_of(design.fields.begin(), design.fields.end(),
                       [](const FieldDesign& f) { return paradox::IsBlobType(f.type); });
}

std::unique_ptr<TableWriter::State> Prepare(TableDesign design, const std::string& fileName) {
    auto s = std::make_unique<TableWriter::State>();
    const bool bigBlocks =
        design.blockSizeKib == 8 || design.blockSizeKib == 16 || design.blockSizeKib == 32;
    if (!(design.blockSizeKib >= 1 && design.blockSizeKib <= 4) &&
        !(bigBlocks && design.version == Version::V7)) {
        throw std::invalid_argument("block size " + std::to_string(design.blockSizeKib) +
                                    " KiB is not possible for this version");
    }
    if (design.fields.empty() || design.fields.size() > 255) {
        throw std::invalid_argument("a table needs 1 to 255 fields");
    }
    s->encoder = std::make_unique<TextEncoder>(IconvName(design.codePage));
    std::uint32_t offset = 0;
    for (const FieldDesign& f : design.fields) {
        const std::uint8_t size = f.size != 0 ? f.size : DefaultFieldSize(f.type);
        const auto storage = paradox::StorageSize(f.type, size);
        if (!storage) {
            throw std::invalid_argument("field \"" + f.name + "\" has an impossible size");
        }
        s->fields.push_back(
            paradox::Field{f.name, f.type, size, static_cast<std::uint16_t>(*storage), offset});
        offset += static_cast<std::uint32_t>(*storage);
    }
    s->blockSize = std::uint32_t{design.blockSizeKib} * 1024;
    if (offset == 0 || offset > s->blockSize - 6 || offset > 0xFFFF) {
        throw std::invalid_argument("records of " + std::to_string(offset) +
                                    " bytes do not fit in the blocks");
    }
    s->recordSize = static_cast<std::uint16_t>(offset);
    s->perBlock = (s->blockSize - 6) / s->recordSize;
    s->storedName = design.storedName.empty() ? fileName : design.storedName;
    if (design.sortOrder.empty()) {
        design.sortOrder = design.codePage == 1252 ? "DBWINUS0" : "ascii";
    }
    s->design = std::move(design);
    s->headerSize = HeaderSizeFor(s->design, s->fields, *s->encoder, s->storedName);
    s->block.assign(s->blockSize, 0);
    return s;
}

std::optional<paradox::ScrambleKey> KeyOf(const TableDesign& design) {
    if (design.scrambleKey == 0) {
        return std::nullopt;
    }
    return paradox::ScrambleKeyFrom(design.scrambleKey);
}

}  // namespace

void TableWriter::State::flushBlock(bool last) {
    const std::uint32_t number = blocksWritten + 1;
    paradox::WriteU16(block.data(), last ? 0 : static_cast<std::uint16_t>(number + 1));
    paradox::WriteU16(block.data() + 2, static_cast<std::uint16_t>(number - 1));
    const auto lastOffset = static_cast<std::int32_t>(recordsInBlock) - 1;
    paradox::WriteU16(block.data() + 4, static_cast<std::uint16_t>(
                                            static_cast<std::int16_t>(lastOffset * recordSize)));
    if (design.scrambleKey != 0) {
        paradox::ScrambleTableBlock(block, paradox::ScrambleKeyFrom(design.scrambleKey), number);
    }
    table->write(headerSize + std::uint64_t{blocksWritten} * blockSize, block);
    ++blocksWritten;
    recordsInBlock = 0;
    std::fill(block.begin(), block.end(), std::uint8_t{0});
}

TableWriter::TableWriter(const std::string& path, TableDesign design) {
    const std::filesystem::path file(path);
    state_ = Prepare(std::move(design), file.filename().string());
    const auto key = KeyOf(state_->design);
    if (NeedsBlobFile(state_->design)) {
        std::filesystem::path blobPath = file;
        blobPath.replace_extension(".MB");
        state_->blobs = std::make_unique<BlobWriter>(FileSink(blobPath.string()), key);
    }
    state_->table = FileSink(path);
}

TableWriter::TableWriter(std::vector<std::uint8_t>& table, std::vector<std::uint8_t>& blobs,
                         TableDesign design) {
    state_ = Prepare(std::move(design), "memory.db");
    if (NeedsBlobFile(state_->design)) {
        state_->blobs = std::make_unique<BlobWriter>(MemorySink(blobs), KeyOf(state_->design));
    }
    state_->table = MemorySink(table);
}

TableWriter::~TableWriter() {
    if (state_ && !state_->finished) {
        try {
            finish();
        } catch (...) {
            // A destructor cannot report; callers that care call finish() themselves.
        }
    }
}

bool TableWriter::hasBlobFile() const { return state_->blobs != nullptr; }

void TableWriter::addRow(const std::vector<paradox::Value>& values) {
    State& s = *state_;
    if (s.finished) {
        throw std::logic_error("the table is already finished");
    }
    if (values.size() != s.fields.size()) {
        throw std::invalid_argument("a row needs " + std::to_string(s.fields.size()) + " values");
    }
    if (s.blocksWritten == 0xFFFF && s.recordsInBlock == s.perBlock) {
        throw std::invalid_argument("the table cannot hold more than 65535 blocks");
    }
    if (s.recordsInBlock == s.perBlock) {
        s.flushBlock(false);
    }
    std::uint8_t* record = s.block.data() + 6 + std::size_t{s.recordsInBlock} * s.recordSize;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const paradox::Field& field = s.fields[i];
        EncodeField(field, values[i], record + field.offset, *s.encoder, s.blobs.get());
        if (field.type == paradox::FieldType::AutoIncrement && !values[i].isNull()) {
            s.highestAutoIncrement = std::max(s.highestAutoIncrement, values[i].integer());
        }
    }
    ++s.recordsInBlock;
    ++s.rows;
}

void TableWriter::finish() {
    State& s = *state_;
    if (s.finished) {
        return;
    }
    s.finished = true;
    if (s.recordsInBlock > 0) {
        s.flushBlock(true);
    }
    HeaderCounts counts{s.rows, s.blocksWritten, s.highestAutoIncrement};
    const std::vector<std::uint8_t> header = BuildHeader(
        s.design, s.fields, *s.encoder, s.storedName, s.headerSize, s.recordSize, counts);
    s.table->write(0, header);
    s.table->close();
    if (s.blobs) {
        s.blobs->finish();
    }
}

void WriteTable(const std::string& path, const TableDesign& design,
                const std::vector<std::vector<paradox::Value>>& rows) {
    TableWriter writer(path, design);
    for (const auto& row : rows) {
        writer.addRow(row);
    }
    writer.finish();
}

TableInMemory WriteTableToMemory(const TableDesign& design,
                                 const std::vector<std::vector<paradox::Value>>& rows) {
    TableInMemory result;
    std::vector<std::uint8_t> blobs;
    bool withBlobs = false;
    {
        TableWriter writer(result.table, blobs, design);
        withBlobs = writer.hasBlobFile();
        for (const auto& row : rows) {
            writer.addRow(row);
        }
        writer.finish();
    }
    if (withBlobs) {
        result.blobs = std::move(blobs);
    }
    return result;
}

}  // namespace quorvex::pxwriter
