#pragma once

#include "cli/command_line_options.h"
#include "cli/terminal.h"

namespace quorvex {

// `quorvex verify [TABLE...]`: compares each chosen Paradox table (all of the folder's own when
// none is named) with the Oracle table of the same name, as a multiset of rows read back to the
// form a send gives them (CompareSentTable), `--jobs` tables at a time, each job on its own
// connections. Checks what it is given as `send` does; reads and changes nothing. Prints per
// table "same" or the counts and up to five rows found on one side only, writes `--report` as
// JSON, and returns 0 only when every table is the same.
int RunVerify(const CommandLineOptions& options, Terminal& terminal);

}  // namespace quorvex
