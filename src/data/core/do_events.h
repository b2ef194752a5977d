#pragma once

#include <functional>

namespace quorvex {

// Lets pending window events run (repaints, the progress bar, a close request), between the
// steps of long loops. Clicks and keys are taken in too rather than held back: the X11 platform
// counts a close request among them, and one held back would wait for the command's end. While a
// command runs, the screens' input rule drops every one of them that is not for a box the command
// opened.
void DoEvents();

// Runs `work` on a thread of its own and lets pending window events run until it has ended, so
// that the windows still repaint and can be closed while a driver blocks (a server that takes
// its time to answer a login). `work` must touch nothing the events may touch. What it throws is
// thrown here.
void WaitLettingEventsRun(const std::function<void()>& work);

}  // namespace quorvex
