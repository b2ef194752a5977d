#pragma once

#include <QMargins>
#include <QWidget>

namespace quorvex {

// The title bar and borders the window manager puts around a top-level window: what it has
// given the window once shown, or, before the window's first showing, what it says it will give
// (asked through the window system, a window that was never mapped has no frame to measure).
// Empty where no window manager frames windows (no window manager, the offscreen platform).
QMargins WindowFrameMargins(const QWidget& window);

}  // namespace quorvex
