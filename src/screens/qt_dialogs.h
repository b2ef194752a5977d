#pragma once

#include "shell/ui.h"

#include <QPointer>
#include <QWidget>

namespace quorvex {

// The program's boxes as real dialogs: MessageBox, QInputDialog and a folders-only QFileDialog.
// Each box is modal and owned by the active window of the program, or by the owner given here
// when none is active and it is on the screen; with neither, the box stands on its own.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    int MsgBox(const QString& text, int buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString BrowseForFolder(const QString& title) override;

  private:
    QWidget* Owner() const;

    QPointer<QWidget> owner_;
};

// Texts are built with CR LF and bare CR line ends; a Qt box breaks lines at "\n" only.
QString ToDisplayLineBreaks(const QString& text);

// An empty title means the application title.
QString BoxTitle(const QString& title);

}  // namespace quorvex
