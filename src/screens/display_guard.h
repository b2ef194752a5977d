#pragma once

namespace quorvex {

// The window needs a display; started without one (a remote shell, a service, a script), the
// program says so on one line of standard error and ends with status 1, pointing to the command
// line, rather than letting Qt abort.
//
// Construct before QApplication: it ends the program at once when no display is named at all
// (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM), and while it lives a display that is named
// but cannot be reached ends it the same way. Qt's own messages of that attempt are held back
// and passed on only when the window opens after all.
class DisplayGuard {
  public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

}  // namespace quorvex
