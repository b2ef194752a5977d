#pragma once

#include "shell/stop_request.h"
#include "shell/ui.h"

#include <QString>

#include <exception>
#include <functional>

namespace quorvex {

// The failure rule of every reporting command in one place. A command is a sequence of numbered
// steps; a step that fails is reported under the command's location label and the step's line,
// and the command goes on with its next step. Nothing is undone.
//
// One failure ends a command early: a lost database connection. It is reported like any other,
// and from then on Ending() is true and no failure of any kind is reported any more: the lost
// connection is the command's one report. A command with long loops checks Ending() after each
// row and each table and goes straight to its closing steps, which still run. A front end's
// StopRequest ends the command the same way, without a report.
class CommandSteps {
  public:
    CommandSteps(Dialogs& dialogs, QString label, const StopRequest* stopRequest = nullptr)
        : dialogs_(dialogs), label_(std::move(label)), stopRequest_(stopRequest) {}

    // Runs one step. Returns true when it completed, false when it failed (and was reported).
    bool Step(int line, const std::function<void()>& body);

    // A conditional step: the test's answer, or true when the test itself failed, so that the
    // steps it guards run as if it had passed.
    bool Test(int line, const std::function<bool()>& test);

    // Runs a precaution of the command's own that the user never asked for (a session setting):
    // it has no line, and its failure is not reported. Whatever it leaves wrong, the command's
    // own steps report.
    void Quietly(const std::function<void()>& body);

    // Reports a failure caught by the command itself under this command's label (unless the
    // connection was lost before).
    void Report(int line, const std::exception& failure);

    // True once a step lost its database connection or the front end asked the command to stop.
    bool Ending() const {
        return connectionLost_ || (stopRequest_ != nullptr && stopRequest_->Requested());
    }

    const QString& label() const { return label_; }
    Dialogs& dialogs() { return dialogs_; }

    // The description a caught failure is shown with.
    static QString Describe(const std::exception& failure);
    // Whether a caught failure ended its database connection (Failure::connectionLost).
    static bool LostTheConnection(const std::exception& failure);

  private:
    void ReportUnlessLost(int line, const QString& description, bool lost);

    Dialogs& dialogs_;
    QString label_;
    const StopRequest* stopRequest_;
    bool connectionLost_ = false;
};

}  // namespace quorvex
