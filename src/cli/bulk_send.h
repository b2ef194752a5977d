#pragma once

#include "cli/command_line_options.h"
#include "cli/rejects_file.h"
#include "cli/terminal.h"
#include "data/core/connection_fields.h"
#include "shell/table_list.h"
#include "transfer/kept_tables.h"
#include "transfer/transfer_summary.h"

#include <QStringList>

#include <map>

namespace quorvex {

// `quorvex send --bulk [--jobs N]`: the chosen tables, each created as the row-by-row send creates
// it and its rows sent as arrays of bound values in one transaction (BulkTableCopy), N tables at a
// time, each job on its own connections, with one progress line per running table. A table
// already in Oracle is dropped first, kept, or asked about (on the terminal, before any table is
// sent) as the options say; a refused row goes to the summary and to `rejects` (when open); a
// stopped or failed table is rolled back and named as such. Ctrl+C, SIGTERM and SIGHUP stop every
// job after the array in hand. Each table's record goes into `summary`; returns how many failures
// were reported on the terminal (each makes the exit status 1).
int SendInBulk(const CommandLineOptions& options, const ConnectionFields& fields,
               const QStringList& chosen, const TableList& oracle,
               const std::map<QString, KeptTable>& kept, TransferSummary& summary,
               RejectsFile* rejects, Terminal& terminal);

}  // namespace quorvex
