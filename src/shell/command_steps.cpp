#include "shell/command_steps.h"

#include "data/core/failure.h"
#include "shell/error_report.h"

namespace quorvex {

QString CommandSteps::Describe(const std::exception& failure) {
    if (const auto* own = dynamic_cast<const Failure*>(&failure)) {
        return own->description();
    }
    return QString::fromUtf8(failure.what());
}

bool CommandSteps::LostTheConnection(const std::exception& failure) {
    const auto* own = dynamic_cast<const Failure*>(&failure);
    return own != nullptr && own->connectionLost();
}

void CommandSteps::Report(int line, const std::exception& failure) {
    ReportUnlessLost(line, Describe(failure), LostTheConnection(failure));
}

void CommandSteps::ReportUnlessLost(int line, const QString& description, bool lost) {
    // Once the connection is gone the command only closes, and the user has been told why: a
    // later failure (the dead connection again, a damaged row, a closing step) would be a second
    // report of the same end, and must never clear the state that ends the command.
    if (connectionLost_) {
        return;
    }
    connectionLost_ = lost;
    ReportApplicationError(dialogs_, label_, line, description);
}

bool CommandSteps::Step(int line, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& failure) {
        Report(line, failure);
    } catch (...) {
        ReportUnlessLost(line, QStringLiteral("Unexpected failure"), false);
    }
    return false;
}

bool CommandSteps::Test(int line, const std::function<bool()>& test) {
    bool answer = true;
    Step(line, [&] { answer = test(); });
    return answer;
}

void CommandSteps::Quietly(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception&) {
        // Not the user's step: the steps that follow meet and report whatever it left wrong.
    }
}

}  // namespace quorvex
