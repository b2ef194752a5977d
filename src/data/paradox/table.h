#pragma once

#include "data/paradox/code_page.h"
#include "data/paradox/field.h"
#include "data/paradox/header.h"
#include "data/paradox/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvex::paradox {

struct OpenOptions {
    // Reads the text in this code page instead of the one the header names (headers are
    // sometimes wrong about it).
    std::optional<int> codePage;
};

// One Paradox table, opened for reading its rows in block-chain order (key order for keyed
// tables). Opening checks the header and walks the whole record chain, so the exact row count
// is known before the first row; rows are then read one block at a time, so memory stays small
// whatever the size of the table. Every fault throws Error.
class Table {
  public:
    // Opens a table file; its .MB file, if the table has memo-type fields, is looked up beside
    // it with its name matched ignoring case.
    static Table Open(const std::string& path, const OpenOptions& options = {});

    // Opens a table held in memory, with its .MB file when `blobs` is given; `name` stands for
    // the file in error messages.
    static Table FromMemory(std::string name, std::vector<std::uint8_t> table,
                            std::optional<std::vector<std::uint8_t>> blobs,
                            const OpenOptions& options = {});

    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;
    ~Table();

    const TableHeader& header() const;
    const std::vector<Field>& fields() const;
    std::uint64_t rowCount() const;
    // Things that looked wrong but did not stop the reading (a stale record count, an unknown
    // code page read as 437).
    const std::vector<std::string>& warnings() const;
    const CodePage& codePage() const;
    // The name stored in the header, which is often not the file's name (UTF-8).
    const std::string& storedName() const;
    // Decodes bytes of this table's text (formatted memos are returned raw).
    std::string decodeText(std::span<const std::uint8_t> bytes) const;

    // The row cursor starts before the first row. next() moves to the following row and
    // returns false after the last one.
    bool next();
    // The value of a field of the current row.
    Value value(std::size_t field) const;
    void readRow(std::vector<Value>& values) const;
    // The current row, counted from 1; 0 before the first.
    std::uint64_t rowNumber() const;
    void rewind();

    // The reader's own state, defined where the table is opened and read.
    struct Impl;

  private:
    explicit Table(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace quorvex::paradox
