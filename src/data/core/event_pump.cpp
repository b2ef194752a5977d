#include "data/core/event_pump.h"

#include "data/core/do_events.h"

#include <algorithm>

namespace quorvex {

namespace {

// The longest wait between two runs, whatever they cost: the window still answers.
constexpr qint64 kLongestWaitMs = 250;

}  // namespace

EventPump::EventPump(int intervalMs) : intervalMs_(intervalMs), waitMs_(intervalMs) {}

void EventPump::Pump() {
    // The first call always runs them: a walk lets waiting events in as it starts.
    if (sinceLastRun_.isValid() && sinceLastRun_.elapsed() < waitMs_) {
        return;
    }
    QElapsedTimer running;
    running.start();
    DoEvents();
    waitMs_ = std::clamp(4 * running.elapsed(), intervalMs_, std::max(intervalMs_, kLongestWaitMs));
    sinceLastRun_.start();
}

}  // namespace quorvex
