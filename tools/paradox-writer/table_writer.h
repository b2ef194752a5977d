#pragma once

#include "data/paradox/field.h"
#include "data/paradox/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::pxwriter {

// Writes unkeyed Paradox tables (versions 4.x, 5.x and 7.x) with any field type the reader
// knows, memo and blob values in a .MB file, optionally password-scrambled. Used to make test
// tables, benchmark tables and the program's sample folder.

enum class Version : std::uint8_t { V4 = 0x09, V5 = 0x0B, V7 = 0x0C };

struct FieldDesign {
    std::string name;  // UTF-8
    paradox::FieldType type{};
    // Alpha and bytes: length 1-255. BCD: decimals 0-32. Memo types: leader + 10 (>= 10).
    // Other types: leave 0 for the type's own size.
    std::uint8_t size = 0;
};

struct TableDesign {
    std::vector<FieldDesign> fields;
    Version version = Version::V7;
    int codePage = 1252;            // 437, 850, 1252, or any page iconv knows
    std::uint8_t blockSizeKib = 2;  // 1, 2, 3, 4; 8, 16, 32 too for version 7
    std::uint32_t scrambleKey = 0;  // non-zero: a password-protected table
    std::string sortOrder;          // empty: "DBWINUS0" for 1252, "ascii" otherwise
    std::string storedName;         // empty: the file name
};

// Values per field type: Alpha, Memo -> Text; Short, Long, AutoIncrement -> Integer; Money,
// Number -> Number; Date -> Date; Time -> Time; Timestamp -> Stamp; Logical -> Logical; BCD ->
// Dec; Bytes, Blob, FormattedMemo, Ole -> Raw; Graphic -> Raw (the image; the writer adds the
// 8-byte prefix Paradox keeps). Null anywhere. Text and bytes are stored as given; an empty
// text or blob is stored as NULL, which is all Paradox can keep.
class TableWriter {
  public:
    // Creates `path` (and the .MB beside it, named with the same stem and ".MB", when a field
    // needs one). Throws std::invalid_argument for a design Paradox cannot hold.
    TableWriter(const std::string& path, TableDesign design);
    // Writes into memory instead; `blobs` receives the .MB file when a field needs one.
    TableWriter(std::vector<std::uint8_t>& table, std::vector<std::uint8_t>& blobs,
                TableDesign design);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // Throws std::invalid_argument when a value does not suit its field.
    void addRow(const std::vector<paradox::Value>& values);
    // Writes the header with the final counts and closes the files.
    void finish();

    bool hasBlobFile() const;

    // The writer's own state, defined with the writer.
    struct State;

  private:
    std::unique_ptr<State> state_;
};

// Writes a whole table at once.
void WriteTable(const std::string& path, const TableDesign& design,
                const std::vector<std::vector<paradox::Value>>& rows);

struct TableInMemory {
    std::vector<std::uint8_t> table;
    std::optional<std::vector<std::uint8_t>> blobs;
};
TableInMemory WriteTableToMemory(const TableDesign& design,
                                 const std::vector<std::vector<paradox::Value>>& rows);

}  // namespace quorvex::pxwriter
