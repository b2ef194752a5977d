#include "cli/terminal_dialogs.h"

#include "shell/error_report.h"

namespace quorvex {

TerminalDialogs::TerminalDialogs(Terminal& terminal,
                                 std::function<std::optional<int>()> presetAnswer,
                                 std::function<void(int answer)> answered,
                                 std::function<void(const QString& description)> reported)
    : terminal_(terminal),
      presetAnswer_(presetAnswer),
      answered_(std::move(answered)),
      reported_(std::move(reported)) {}

int TerminalDialogs::MsgBox(const QString& text, int buttons, const QString& title) {
    if (title == kApplicationErrorTitle) {
        ++reports_;
        terminal_.Message(text);
        if (reported_) {
            reported_(text.section(QStringLiteral("\r\n"), 0, 0));
        }
        return vbOK;
    }
    if ((buttons & vbYesNo) == vbYesNo) {
        const std::optional<int> preset = presetAnswer_ ? presetAnswer_() : std::nullopt;
        const int answer = preset ? *preset : Ask(text);
        if (answered_) {
            answered_(answer);
        }
        return answer;
    }
    ++messages_;
    terminal_.Message(text);
    return vbOK;
}

int TerminalDialogs::Ask(const QString& question) {
    for (;;) {
        const std::optional<QString> typed =
            terminal_.Ask(question + QStringLiteral(" [y/n] "), true);
        if (!typed) {
            return vbNo;  // the input ended or Ctrl+C: nothing is dropped unasked
        }
        const QString answer = typed->trimmed().toLower();
        if (answer == QLatin1String("y") || answer == QLatin1String("yes")) {
            return vbYes;
        }
        if (answer == QLatin1String("n") || answer == QLatin1String("no")) {
            return vbNo;
        }
    }
}

QString TerminalDialogs::InputBox(const QString&, const QString&, const QString&) {
    return QString();  // Cancel
}

QString TerminalDialogs::BrowseForFolder(const QString&) { return QString(); }

}  // namespace quorvex
