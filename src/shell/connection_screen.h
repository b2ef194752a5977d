#pragma once

#include "data/core/connection_fields.h"
#include "shell/ui.h"

#include <QString>

namespace quorvex {

// What the connection screen's start-up and commands ask of the window. The window implements
// it over its widgets, so the steps themselves never touch a widget. Every operation may throw
// Failure; the command running it reports that under its own label and line.
class ConnectionScreen : public ConnectionFields {
  public:
    // Assigning a field is an edit like any other: the field's change event saves it.
    virtual void SetText1(const QString& text) = 0;
    virtual void SetText2(const QString& text) = 0;
    virtual void SetText3(const QString& text) = 0;
    virtual void SetText4(const QString& text) = 0;

    // The window's MousePointer (0, 11 or 99).
    virtual Pointer& Screen() = 0;

    // The folder that holds the program, without a trailing separator except at the root.
    virtual QString ProgramFolder() const = 0;

    // Window services of the start-up.
    virtual void ApplySkin() = 0;
    virtual void CenterForm() = 0;
    virtual void SetCaptionAndIcon() = 0;
    virtual void LoadMouseIcon(const QString& cursorFile) = 0;

    // The tables screen: its refresh (clears and refills both lists), showing it (modeless; the
    // first showing also refreshes it), and hiding this window.
    virtual void RefreshTablesScreen() = 0;
    virtual void ShowTablesScreen() = 0;
    virtual void HideConnectionScreen() = 0;
};

}  // namespace quorvex
