#include "data/core/do_events.h"

#include <QCoreApplication>

#include <chrono>
#include <future>

namespace quorvex {

namespace {

// How often pending events run while a helper thread works: often enough that a repaint or a
// close is not noticed waiting.
constexpr std::chrono::milliseconds kWaitBetweenRuns{20};

}  // namespace

void DoEvents() {
    if (QCoreApplication::instance() != nullptr) {
        // Input included, see the header: the input rule, not this call, keeps it from commands.
        constexpr QEventLoop::ProcessEventsFlags kEventsAndInput = QEventLoop::AllEvents;
        QCoreApplication::processEvents(kEventsAndInput);
    }
}

void WaitLettingEventsRun(const std::function<void()>& work) {
    std::future<void> done = std::async(std::launch::async, work);
    while (done.wait_for(kWaitBetweenRuns) != std::future_status::ready) {
        DoEvents();
    }
    done.get();
}

}  // namespace quorvex
