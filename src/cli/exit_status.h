#pragma once

namespace quorvex {

// The exit statuses of `quorvex send` and `quorvex list`, for the scripts that run them.
enum ExitStatus : int {
    kExitSuccess = 0,       // every row of every table arrived; the listing is complete
    kExitIncomplete = 1,    // something did not arrive or could not be listed (see the reports)
    kExitUsage = 2,         // a wrong option, a missing answer, an unknown table name
    kExitInterrupted = 130  // Ctrl+C: 128 + SIGINT, as the shells report it
};

}  // namespace quorvex
