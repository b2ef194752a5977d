#pragma once

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "shell/table_list.h"
#include "transfer/kept_tables.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quorvex {

// One kind of value Oracle would refuse, with how many rows hold it and where it is first met.
struct Refusal {
    QString kind;
    std::int64_t rows = 0;
    std::int64_t firstRow = 0;
    QString firstField;
    std::int64_t lastRow = 0;
};

// What a send would do with one table, found by reading it to its end and changing nothing.
struct CheckedTable {
    QString name;
    QString sourceFile;
    // What the table is read by, when not `name`: the file's own name where the folder holds the
    // table in two files (T.DB and T.db).
    QString readName;
    QString action;  // "create", "drop and send again", "keep", "ask whether to overwrite"
    std::optional<std::int64_t> paradoxRows;
    std::int64_t refusedRows = 0;
    std::vector<Refusal> refusals;
    QString notSent;  // why no row at all would arrive: an unreadable table, a name refused
    std::optional<KeptTable> kept;
    bool inSubfolder = false;  // listed from a subfolder: a send leaves it, as it names it

    // Every row would arrive whole, or, for a kept table, is in Oracle.
    bool Whole() const;
    // The problems found, joined with "; "; empty when none.
    QString Problems() const;
};

// What a send would do with a table by its name: create it when Oracle does not hold it, else
// as the rule for existing tables says (`kept`: its counts, when taken).
QString ActionFor(const QString& name, const TableList& oracle, ExistingTable existing,
                  const std::optional<KeptTable>& kept);

// Reads the table to its end as a send would (through the table's plan, with `options`), noting
// what Oracle would refuse under `rules`. `stop` is asked before each row. A `native` send's
// columns hold every value a Paradox table can; only what cannot be read or named is noted.
void CheckTableRows(CheckedTable& table, Connection& paradox, const OracleDatabaseRules& rules,
                    const ParadoxTableOptions& options, const std::function<bool()>& stop,
                    bool native = false);

}  // namespace quorvex
