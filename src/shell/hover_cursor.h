#pragma once

#include "shell/ui.h"

namespace quorvex {

// The hover-cursor rule every screen follows. While a command shows the hourglass (11) neither
// move changes the pointer.

// The mouse moved over a push button: the hand (99).
void PointerOverButton(Pointer& screen);

// The mouse moved over the screen's surface, a text box, a list or a frame: the default (0).
void PointerOverSurface(Pointer& screen);

}  // namespace quorvex
