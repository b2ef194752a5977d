#pragma once

#include "cli/command_line_fields.h"
#include "cli/folder_tables.h"
#include "cli/memory_table_list.h"
#include "cli/terminal.h"

#include <optional>

namespace quorvex {

// The two sides as the tables screen's refresh lists them (the Oracle login's tables; the
// Paradox tables of the folder and all its subfolders). A listing that fails is told on the
// terminal with the failure's own description (for Oracle, with where the password came from,
// the usual cause of a refused login), and false or nullopt is returned.
bool ListOracleSide(MemoryTableList& list, const CommandLineFields& fields, Terminal& terminal);
std::optional<FolderTables> ListParadoxSide(const CommandLineFields& fields, Terminal& terminal);

}  // namespace quorvex
