#pragma once

#include "cli/command_line_options.h"
#include "cli/terminal.h"

namespace quorvex {

// `quorvex list`: prints the table names of one or both sides, as the tables screen lists them,
// and returns the exit status.
int RunList(const CommandLineOptions& options, Terminal& terminal);

}  // namespace quorvex
