#pragma once

#include "data/connection_fields.h"
#include "data/table_list.h"

namespace quorvex {

// Clears `list` and fills it with the tables of the Oracle login's own schema, in the case the
// server reports them; the first entry becomes the current one. Failures raise Failure; entries
// added before a failure stay.
void LoadOracleTables(TableList& list, const ConnectionFields& fields);

// Adds the Paradox tables found in the Paradox folder and all its subfolders: each "*.db" file
// name (names starting with "~" left out) in upper case without its final ".DB". Nothing is
// cleared, sorted or made current; an empty folder field adds nothing. Failures raise Failure.
void LoadParadoxTables(TableList& list, const ConnectionFields& fields);

}  // namespace quorvex
