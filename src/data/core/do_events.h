#pragma once

namespace quorvex {

// Lets pending window events run (repaints, the progress bar, a close request), between the
// steps of long loops. Clicks and keys are taken in too rather than held back: the X11 platform
// counts a close request among them, and one held back would wait for the command's end. While a
// command runs, the screens' input rule drops every one of them that is not for a box the command
// opened.
void DoEvents();

}  // namespace quorvex
