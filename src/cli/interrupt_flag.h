#pragma once

#include "shell/stop_request.h"

namespace quorvex {

// Ctrl+C (SIGINT), and SIGTERM and SIGHUP, which end a command line the same way (`timeout`, a
// service manager, a closed terminal). Once installed, the first of them only raises a flag
// that the running command reads at its own pace (a send ends after the row being sent); a
// second one ends the program at once, as if nothing had been caught, for a command that no
// longer answers.
namespace interrupt_flag {

// Installs the handler; call once, before anything waits on the terminal or the server.
void Install();

// True once one of the signals came.
bool Raised();

// The signal that came first; 0 before any.
int Signal();

// From now on the signals also ask `request` to stop the running send (at once when one came
// already); nullptr when the send is over.
void StopOnInterrupt(StopRequest* request);

// Asks the running send to stop as a signal would, without raising the flag: for a failure
// the send cannot go on from (a rejects file that cannot be written).
void StopRunning();

// Gives the signals back their default meaning, ending the program at once, for a command with
// nothing to finish; one that came meanwhile ends it now.
void Release();

// A descriptor that becomes readable when the flag is raised, so that a wait for the user's
// answer can wait on it beside the terminal and never miss the key.
int WakeDescriptor();

}  // namespace interrupt_flag

}  // namespace quorvex
