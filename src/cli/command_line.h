#pragma once

namespace quorvex {

// The command line's way in: `quorvex send`, `quorvex list`, `quorvex --help`. Runs on a
// QCoreApplication (no display), prints to the terminal and returns the process's exit status.
int RunCommandLine(int argc, char** argv);

}  // namespace quorvex
