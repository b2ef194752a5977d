#pragma once

#include "cli/terminal.h"
#include "shell/ui.h"

#include <functional>
#include <optional>

namespace quorvex {

// The program's dialogs on a terminal. A failure report is printed to standard error in the
// text of its box; a Yes/No question takes the answer the command line gives for it, or asks on
// the terminal; any other message is printed and remembered, since on the command line it means
// the command did not do what it was asked. Nothing here picks folders or takes typed names.
class TerminalDialogs : public Dialogs {
  public:
    // `presetAnswer` gives vbYes or vbNo for the question being asked, or nullopt to ask it on
    // the terminal. `answered` hears each answer given; `reported` the description of each
    // failure report (its first line, without the box's label and line).
    TerminalDialogs(Terminal& terminal, std::function<std::optional<int>()> presetAnswer,
                    std::function<void(int answer)> answered = {},
                    std::function<void(const QString& description)> reported = {});

    int MsgBox(const QString& text, int buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString BrowseForFolder(const QString& title) override;

    int Reports() const { return reports_; }
    int Messages() const { return messages_; }

  private:
    int Ask(const QString& question);

    Terminal& terminal_;
    std::function<std::optional<int>()> presetAnswer_;
    std::function<void(int)> answered_;
    std::function<void(const QString&)> reported_;
    int reports_ = 0;
    int messages_ = 0;
};

}  // namespace quorvex
