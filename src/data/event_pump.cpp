#include "data/event_pump.h"

#include "data/do_events.h"

namespace quorvex {

EventPump::EventPump(int intervalMs) : intervalMs_(intervalMs) {}

void EventPump::Pump() {
    // The first call always runs them: a walk lets waiting events in as it starts.
    if (!sinceLastRun_.isValid() || sinceLastRun_.elapsed() >= intervalMs_) {
        DoEvents();
        sinceLastRun_.start();
    }
}

}  // namespace quorvex
