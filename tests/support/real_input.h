#pragma once

#include <QString>

class QWidget;

namespace quorvex::test {

// Input as the window system delivers it, through the application (and so through its event
// filters) to a control: a left click in its middle, a double-click (press, release, the second
// press as a double-click, release), keys typed, a wheel turn.
void Click(QWidget& control);
void DoubleClick(QWidget& control);
void TypeInto(QWidget& control, const QString& text);
void TurnWheel(QWidget& control);

}  // namespace quorvex::test
