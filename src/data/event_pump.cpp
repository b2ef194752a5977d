#include "data/event_pump.h"

#include "data/do_events.h"

namespace quorvex {

EventPump::EventPump(int intervalMs) : intervalMs_(intervalMs) { sinceLastRun_.start(); }

void EventPump::Pump() {
    if (sinceLastRun_.elapsed() >= intervalMs_) {
        DoEvents();
        sinceLastRun_.restart();
    }
}

}  // namespace quorvex
