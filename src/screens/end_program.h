#pragma once

namespace quorvex {

// Ends the whole program at once: no question, no other window's close handling, no further
// code of the program, even when called from inside a command that lets events run. Everything
// worth keeping (the settings) is already on disk when this runs.
[[noreturn]] void EndProgram();

}  // namespace quorvex
