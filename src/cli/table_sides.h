#pragma once

#include "cli/memory_table_list.h"
#include "cli/terminal.h"
#include "data/connection_fields.h"

namespace quorvex {

// The two lists of the tables screen, filled as its refresh fills them (the Oracle login's
// tables; the Paradox tables of the folder and all its subfolders). A listing that fails is
// told on the terminal with the failure's own description, and false is returned.
bool ListOracleSide(MemoryTableList& list, const ConnectionFields& fields, Terminal& terminal);
bool ListParadoxSide(MemoryTableList& list, const ConnectionFields& fields, Terminal& terminal);

}  // namespace quorvex
