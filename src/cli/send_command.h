#pragma once

#include "cli/command_line_options.h"
#include "cli/terminal.h"

namespace quorvex {

// `quorvex send`: lists both sides as the tables screen does, selects the tables named (all
// when none is), runs "Send Table/s To Oracle" on terminal stand-ins of the screen, prints the
// summary and returns the exit status.
int RunSend(const CommandLineOptions& options, Terminal& terminal);

}  // namespace quorvex
