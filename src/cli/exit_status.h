#pragma once

namespace quorvex {

// The exit statuses of the command line, for the scripts that run it.
enum ExitStatus : int {
    kExitSuccess = 0,     // every row of every table arrived; the listing is complete
    kExitIncomplete = 1,  // something did not arrive or could not be listed (see the reports)
    kExitUsage = 2,       // a wrong option, table name, folder, path or login: nothing was changed
    // A signal ended the command: 128 + its number, as the shells report it; 129 for SIGHUP,
    // 130 for Ctrl+C (SIGINT), 143 for SIGTERM.
    kExitSignalBase = 128,
};

}  // namespace quorvex
