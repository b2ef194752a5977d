#pragma once

#include "shell/ui.h"

#include <QCursor>
#include <QWidget>

#include <optional>

namespace quorvex {

// A window's MousePointer: 0 the default arrow, 11 the hourglass, 99 the window's own mouse
// icon (the arrow while it has none). The cursor is set on the window, so its controls show it
// too unless they have a cursor of their own (text boxes keep their text cursor).
class WindowPointer : public Pointer {
  public:
    explicit WindowPointer(QWidget& window) : window_(window) {}

    int MousePointer() const override { return state_; }
    void SetMousePointer(int state) override;

    // The picture behind state 99. Loading a file raises Failure when it is no cursor.
    void LoadMouseIcon(const QString& cursorFile);
    bool HasMouseIcon() const { return icon_.has_value(); }

  private:
    void ShowState();

    QWidget& window_;
    int state_ = vbDefault;
    std::optional<QCursor> icon_;
};

}  // namespace quorvex
