#pragma once

#include "shell/ui.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace quorvex::test {

// Dialogs answered by the test: every box shown is recorded; message boxes take the next queued
// answer (vbOK when none is queued, or vbYes/vbNo when queued), input boxes the next queued text.
class ScriptedDialogs : public Dialogs {
  public:
    struct Box {
        QString text;
        int buttons;
        QString title;
    };
    struct Input {
        QString prompt;
        QString title;
        QString defaultText;
    };

    int MsgBox(const QString& text, int buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString BrowseForFolder(const QString& title) override;

    void QueueAnswer(int answer) { answers.push_back(answer); }
    void QueueInput(const QString& text) { inputs.push_back(text); }
    void QueueFolder(const QString& folder) { folders.push_back(folder); }

    // The texts of the boxes shown, in order.
    QStringList Texts() const;
    // The boxes titled "Application Error".
    std::vector<Box> Errors() const;

    std::vector<Box> boxes;
    std::vector<Input> prompts;
    QStringList folderTitles;
    std::deque<int> answers;
    std::deque<QString> inputs;
    std::deque<QString> folders;
};

}  // namespace quorvex::test
