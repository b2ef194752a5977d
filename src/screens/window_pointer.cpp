#include "screens/window_pointer.h"

#include "screens/hand_cursor.h"

#include <QCoreApplication>

namespace quorvex {

void WindowPointer::SetMousePointer(int state) {
    const bool becomesBusy = state == vbHourglass && state_ != vbHourglass;
    state_ = state;
    ShowState();
    if (becomesBusy) {
        // The hourglass comes before work that blocks the event loop (a connection attempt), so
        // the windowing system has to get the new cursor now. User input stays queued.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void WindowPointer::LoadMouseIcon(const QString& cursorFile) {
    icon_ = LoadCursorFile(cursorFile);
    ShowState();
}

void WindowPointer::ShowState() {
    switch (state_) {
        case vbHourglass:
            window_.setCursor(Qt::WaitCursor);
            break;
        case vbCustom:
            if (icon_) {
                window_.setCursor(*icon_);
            } else {
                window_.setCursor(Qt::ArrowCursor);
            }
            break;
        default:
            window_.unsetCursor();
            break;
    }
}

}  // namespace quorvex
