#pragma once

#include "data/paradox/error.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorvex::paradox {

class Table;

// One secondary index of a table, as its .Xnn or .XGn file describes it. Paradox keeps the
// index's entries sorted in that file (the indexed fields, then the table's key fields, then a
// block number) and a tree over them in the .Ynn or .YGn file of the same number.
struct SecondaryIndex {
    std::string file;                 // the .Xnn or .XGn file
    std::string companionFile;        // its .Ynn or .YGn file; empty when the folder has none
    bool composite = false;           // .XGn: a named index of one or more fields; .Xnn: one field
    std::string name;                 // a composite index's own name (UTF-8), else its field's name
    std::vector<std::size_t> fields;  // the indexed fields: positions in the table's field list
};

// What the index files beside a table say: the primary index (.PX) of a keyed table, whose key
// fields are the first header().keyFieldCount fields, and the secondary indexes. A damaged or
// foreign index file never stops the others, nor the table's rows, which never need it.
struct TableIndexes {
    std::string primaryIndexFile;           // empty when the folder has no readable .PX file
    std::vector<SecondaryIndex> secondary;  // in the order of their file names' extensions
    std::vector<Error> damaged;             // the index files that could not be read, and why
};

// Looks for the index files of the table at `tablePath` (the same name with the extensions .PX,
// .Xnn, .Ynn, .XGn and .YGn, matched ignoring case) and reads their headers against `table`,
// which was opened from that path. Throws nothing but std::bad_alloc.
TableIndexes ReadTableIndexes(const std::string& tablePath, const Table& table);

// Reads one secondary index from the start of its .Xnn or .XGn file (at least its header):
// which of the table's fields it covers. Throws Error for a damaged file, or one whose fields
// are not the table's.
SecondaryIndex ReadSecondaryIndex(std::span<const std::uint8_t> bytes, const std::string& fileName,
                                  const Table& table);

// Checks the start of a .PX file (at least its header) against the key fields of `table`.
// Throws Error when it is damaged, is not a primary index, or indexes other fields.
void CheckPrimaryIndex(std::span<const std::uint8_t> bytes, const std::string& fileName,
                       const Table& table);

}  // namespace quorvex::paradox
