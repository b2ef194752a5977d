#pragma once

#include "cli/command_line_options.h"
#include "cli/folder_tables.h"
#include "cli/rejects_file.h"
#include "cli/terminal.h"
#include "data/core/connection_fields.h"
#include "shell/table_list.h"
#include "transfer/bulk_table_copy.h"
#include "transfer/kept_tables.h"
#include "transfer/transfer_summary.h"

#include <QStringList>

#include <functional>
#include <map>

namespace quorvex {

// What a bulk send tells beyond its summary, from the jobs' threads: each row that is not in
// Oracle as it was read, and each table whose rows are about to be committed, on its job's
// connection inside the table's transaction (what it writes there is committed with the rows).
// A failure of `beforeSend`, which runs on the job's connection before the table is changed, is
// reported and the table sent all the same; so is one of `afterCommit`, which runs there once the
// table is committed and, sent natively, keyed.
struct BulkSendHooks {
    std::function<void(const RowProblem& row)> rowNotWhole = {};
    std::function<void(Connection& oracle, const QString& table)> beforeSend = {};
    std::function<void(Connection& oracle, const QString& table, const BulkTableResult& result)>
        beforeCommit = {};
    std::function<void(Connection& oracle, const QString& table)> afterCommit = {};
};

// `quorvex send --bulk [--jobs N]`: the chosen tables, each created as the row-by-row send creates
// it and its rows sent as arrays of bound values in one transaction (BulkTableCopy), N tables at a
// time, each job on its own connections, with one progress line per running table. A table
// already in Oracle is dropped first, kept, or asked about (on the terminal, before any table is
// sent) as the options say; a refused row goes to the summary and to `rejects` (when open); a
// stopped or failed table is rolled back and named as such. Ctrl+C, SIGTERM and SIGHUP stop every
// job after the array in hand. Each table's record goes into `summary`; returns how many failures
// were reported on the terminal (each makes the exit status 1).
int SendInBulk(const CommandLineOptions& options, const ConnectionFields& fields,
               const FolderTables& folder, const QStringList& chosen, const TableList& oracle,
               const std::map<QString, KeptTable>& kept, TransferSummary& summary,
               RejectsFile* rejects, const BulkSendHooks& hooks, Terminal& terminal);

}  // namespace quorvex
