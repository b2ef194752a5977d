#pragma once

#include "cli/command_line_fields.h"
#include "cli/folder_tables.h"
#include "cli/summary_report.h"
#include "cli/terminal.h"
#include "shell/table_list.h"
#include "transfer/kept_tables.h"

#include <map>

namespace quorvex {

// `quorvex send --dry-run`: reads every chosen table to its end and tells, per table, what a
// send with the same options would do (create it, drop it and send it again, keep it, ask) and
// what Oracle would refuse: texts longer than an NVARCHAR2(2000) column holds, names longer than
// the server takes, numbers Oracle cannot hold, tables that cannot be read. Changes nothing.
// Prints the result (and writes --report); returns 0 when a send would arrive whole, else 1.
int RunDryRun(const CommandLineOptions& options, const CommandLineFields& fields,
              const FolderTables& folder, const QStringList& chosen, const TableList& oracle,
              const std::map<QString, KeptTable>& kept, RunRecord run, Terminal& terminal);

}  // namespace quorvex
