#pragma once

#include <QString>

namespace quorvex {

// Message box buttons-and-icon values and answers, as the commands pass and read them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbExclamation = 48,
};
enum MsgBoxResult : int { vbOK = 1, vbYes = 6, vbNo = 7 };

// The modal boxes of the program. The screens show real Qt dialogs; tests answer them.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // An empty title means the application title, "Quorvex". Returns vbOK, vbYes or vbNo.
    virtual int MsgBox(const QString& text, int buttons, const QString& title) = 0;
    // Returns the typed text, or "" for Cancel. An empty title means the application title.
    virtual QString InputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    // A folder chooser (folders only); "" on cancel.
    virtual QString BrowseForFolder(const QString& title) = 0;
};

// Pointer states of a screen.
enum MousePointerState : int { vbDefault = 0, vbHourglass = 11, vbCustom = 99 };

class Pointer {
  public:
    virtual ~Pointer() = default;
    virtual int MousePointer() const = 0;
    virtual void SetMousePointer(int state) = 0;
};

// The tables screen's progress bar: a real value on a 0 to 100 scale.
class ProgressBar {
  public:
    virtual ~ProgressBar() = default;
    virtual double Value() const = 0;
    virtual void SetValue(double value) = 0;
};

inline const QString kApplicationTitle = QStringLiteral("Quorvex");

}  // namespace quorvex
