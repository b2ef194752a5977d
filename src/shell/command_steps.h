#pragma once

#include "shell/ui.h"

#include <QString>

#include <exception>
#include <functional>

namespace quorvex {

// The failure rule of every reporting command in one place. A command is a sequence of numbered
// steps; a step that fails is reported under the command's location label and the step's line,
// and the command goes on with its next step. Nothing is undone.
class CommandSteps {
public:
    CommandSteps(Dialogs& dialogs, QString label) : dialogs_(dialogs), label_(std::move(label)) {}

    // Runs one step. Returns true when it completed, false when it failed (and was reported).
    bool Step(int line, const std::function<void()>& body);

    // A conditional step: the test's answer, or true when the test itself failed, so that the
    // steps it guards run as if it had passed.
    bool Test(int line, const std::function<bool()>& test);

    // Reports a failure caught by the command itself under this command's label.
    void Report(int line, const std::exception& failure);

    const QString& label() const { return label_; }
    Dialogs& dialogs() { return dialogs_; }

    // The description a caught failure is shown with.
    static QString Describe(const std::exception& failure);

private:
    Dialogs& dialogs_;
    QString label_;
};

}  // namespace quorvex
