#pragma once

#include "data/core/connection_fields.h"
#include "data/paradox_driver/paradox_table_door.h"
#include "shell/table_list.h"
#include "transfer/migration_ledger.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
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
    // The fingerprint of the Oracle table's columns (ReadColumnFingerprint); empty when the
    // dictionary could not tell, and then the ledger judges by the rows alone.
    QString columns = {};
    // What the ledger's latest entry of the table says of it, when the schema has one.
    std::optional<LedgerStanding> standing = std::nullopt;
    // Counted for a native send: why the Oracle table is not the native table of its Paradox
    // table (sent with the window's types, say); such a table is never complete.
    QString notNative = {};

    // Every row of the Paradox table is in Oracle, the ledger knows of no change to its file or
    // of a send that did not finish, and for a native send the table is the native one.
    bool Complete() const;
    // Oracle holds what the ledger says arrived, or a change made since by hand: --resume keeps
    // it (never dropping hand-made work); a table the ledger does not know is kept when Complete.
    // A table that is not native is never kept by a native send: --resume sends it again.
    bool ResumeKeeps() const;
    // Changed in Oracle since its send, as the ledger tells: named even when its rows are all in.
    bool ChangedSince() const {
        return standing && standing->state == LedgerStanding::State::ChangedInOracle;
    }
    // "7 of 10 rows in Oracle", or why they could not be counted; and what the ledger says.
    QString Describe() const;
};

// Counts each of the named Paradox tables that the Oracle list holds (ignoring case, as the
// overwrite question finds them), the Paradox tables read with `options`. Keyed by the Paradox
// name; a table not in Oracle has no entry. A count that fails is told in the entry, never raised.
// Each Paradox table is read by the name `readName` gives for it (a file's own name where the
// folder holds the table in two files); by its own name when there is no `readName`. For a
// `native` send, each Oracle table's columns are checked to be the native ones too.
std::map<QString, KeptTable> CountKeptTables(
    const QStringList& names, const TableList& oracleList, const ConnectionFields& fields,
    const ParadoxTableOptions& options = {},
    const std::function<QString(const QString& table)>& readName = {}, bool native = false);

// What becomes of a chosen table that is already in Oracle.
enum class ExistingTable {
    Ask,        // the overwrite question is asked
    Overwrite,  // dropped and sent again
    Keep,       // left as it is, its rows counted
    Resume,     // kept when complete, else dropped and sent again
};

// Sets each counted table's standing from the ledger's latest entries and the tables' files
// (`sourceFiles`, by name).
void JudgeByLedger(std::map<QString, KeptTable>& kept, const std::map<QString, LedgerEntry>& latest,
                   const std::map<QString, QString>& sourceFiles);

// The answer to "Would you like to overwrite T?" that the rule gives for a table already in
// Oracle (`kept`: its counts, when they were taken): vbYes to drop it and send it again, vbNo to
// keep it; nullopt when it is to be asked.
std::optional<int> AnswerForExisting(ExistingTable existing, const std::optional<KeptTable>& kept);

}  // namespace quorvex
