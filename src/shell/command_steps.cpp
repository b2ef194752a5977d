#include "shell/command_steps.h"

#include "data/failure.h"
#include "shell/error_report.h"

namespace quorvex {

namespace {

bool LostTheConnection(const std::exception& failure) {
    const auto* own = dynamic_cast<const Failure*>(&failure);
    return own != nullptr && own->connectionLost();
}

}  // namespace

QString CommandSteps::Describe(const std::exception& failure) {
    if (const auto* own = dynamic_cast<const Failure*>(&failure)) {
        return own->description();
    }
    return QString::fromUtf8(failure.what());
}

void CommandSteps::Report(int line, const std::exception& failure) {
    ReportApplicationError(dialogs_, label_, line, Describe(failure));
}

bool CommandSteps::Step(int line, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& failure) {
        Report(line, failure);
        connectionLost_ = connectionLost_ || LostTheConnection(failure);
    } catch (...) {
        ReportApplicationError(dialogs_, label_, line, QStringLiteral("Unexpected failure"));
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
