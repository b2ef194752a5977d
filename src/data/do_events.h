#pragma once

namespace quorvex {

// Lets pending window events run (repaints, clicks), between the steps of long loops.
void DoEvents();

}  // namespace quorvex
