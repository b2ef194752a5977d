#pragma once

#include "data/paradox/field.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quorvex {

// A secondary index of a Paradox table, for the statements that make it on the Oracle side.
struct ParadoxIndex {
    QString name;             // a composite index's own name, else its field's name
    QString tag;              // the extension of its file, upper-cased: "X06", "XG0"
    std::vector<int> fields;  // positions in the table's field list, in index order
};

// The keys of a Paradox table: its primary key (the first keyFieldCount fields) and the
// secondary indexes its folder holds, read from the index files beside it.
struct ParadoxTableKeys {
    int keyFieldCount = 0;
    bool primaryIndexFound = false;  // a readable .PX file matching the key fields
    std::vector<ParadoxIndex> indexes;
    QStringList damaged;  // one plain message per index file that could not be read
};

// Reads the keys of the table file at `tablePath` (resolved already), its text in `codePage`
// when given. Throws Failure when the table itself cannot be read; a damaged index file only
// lands in `damaged`.
ParadoxTableKeys ReadParadoxTableKeys(const QString& tablePath,
                                      std::optional<int> codePage = std::nullopt);

}  // namespace quorvex
