#pragma once

#include "data/core/record_source.h"
#include "data/paradox_driver/paradox_table_facts.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace quorvex {

// How a Paradox table is to be read. A new option of reading goes here, then into the reader's
// paradox::OpenOptions (ParadoxTableOptions::ForReader).
struct ParadoxTableOptions {
    // Reads the text in this code page instead of the one the header names (headers are
    // sometimes wrong about it); nullopt reads the header's.
    std::optional<int> codePage;
    // Delivers a BCD value as the text of its stored digits ("0.122999999999999998"), which a
    // native copy keeps whole, instead of the nearest double.
    bool exactDecimals = false;
};

// True when the reader knows the code page (so a command line can refuse another before it
// changes anything).
bool IsKnownParadoxCodePage(int codePage);

// A table opened through the door: its facts, and its rows standing on the first one.
struct OpenedParadoxTable {
    ParadoxTableFacts facts;
    std::unique_ptr<RecordSource> rows;
};

// Opens the table `name` (".db" may be left out; matched ignoring case) of the Paradox folder
// `folder`. Fails with a clear message for a name that is not a plain file name, a missing table
// (naming the subfolders that hold one of that name) or a table the reader refuses.
OpenedParadoxTable OpenParadoxTable(const QString& folder, const QString& name,
                                    const ParadoxTableOptions& options = {});

// A connection of the Paradox driver, which also opens tables through the door above.
class ParadoxDriverConnection : public DriverConnection {
  public:
    virtual OpenedParadoxTable openTable(const QString& name,
                                         const ParadoxTableOptions& options) = 0;
};

}  // namespace quorvex
