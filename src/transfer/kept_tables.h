#pragma once

#include "data/core/connection_fields.h"
#include "data/paradox_driver/paradox_table_door.h"
#include "shell/table_list.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>

namespace quorvex {

// A table already in Oracle, counted on both sides: a send that keeps it (--keep, --resume, a
// question answered No) knows whether it holds every row of the Paradox table, which it may not
// after an interrupted or failed send.
struct KeptTable {
    QString oracleName;  // the Oracle table the name met, ignoring case
    std::optional<std::int64_t> paradoxRows;
    std::optional<std::int64_t> oracleRows;  // SELECT COUNT(*)
    QString problem;                         // why a count is missing
    // Counted for a native send: why the Oracle table is not the native table of its Paradox
    // table (sent with the window's types, say); such a table is never complete.
    QString notNative;

    bool Complete() const {
        return paradoxRows && oracleRows && *paradoxRows == *oracleRows && notNative.isEmpty();
    }
    // "7 of 10 rows in Oracle", or why they could not be counted.
    QString Describe() const;
};

// Counts each of the named Paradox tables that the Oracle list holds (ignoring case, as the
// overwrite question finds them), the Paradox tables read with `options`. Keyed by the Paradox
// name; a table not in Oracle has no entry. A count that fails is told in the entry, never raised.
// For a `native` send, each Oracle table's columns are checked to be the native ones too.
std::map<QString, KeptTable> CountKeptTables(const QStringList& names, const TableList& oracleList,
                                             const ConnectionFields& fields,
                                             const ParadoxTableOptions& options = {},
                                             bool native = false);

// What becomes of a chosen table that is already in Oracle.
enum class ExistingTable {
    Ask,        // the overwrite question is asked
    Overwrite,  // dropped and sent again
    Keep,       // left as it is, its rows counted
    Resume,     // kept when complete, else dropped and sent again
};

// The answer to "Would you like to overwrite T?" that the rule gives for a table already in
// Oracle (`kept`: its counts, when they were taken): vbYes to drop it and send it again, vbNo to
// keep it; nullopt when it is to be asked.
std::optional<int> AnswerForExisting(ExistingTable existing, const std::optional<KeptTable>& kept);

}  // namespace quorvex
