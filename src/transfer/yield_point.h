#pragma once

#include "data/core/event_pump.h"

namespace quorvex {

// The copy's yield points: once per field while the CREATE TABLE is built, once per row and once
// per value while rows are copied. Pending window events run at most once per interval, so the
// window repaints, the progress bar moves and a click on the close box ends the program within
// a few milliseconds, while yielding for real at every point would cost more than reading and
// building the rows (about a microsecond each, seven times per row of six columns). Even reading
// the clock shows in the row rate, so the many field and value points read it only every 16th
// time; the row point always does, so a table of slow rows (large values) yields after each.
class YieldPoint {
  public:
    explicit YieldPoint(int intervalMs) : pump_(intervalMs) {}

    void AtRow() { pump_.Pump(); }

    void AtField() {
        // The first point yields at once: the copy lets waiting events in as it starts.
        if (fieldPoints_++ % kFieldPointsPerClockReading == 0) {
            pump_.Pump();
        }
    }

  private:
    static constexpr unsigned kFieldPointsPerClockReading = 16;
    EventPump pump_;
    unsigned fieldPoints_ = 0;
};

}  // namespace quorvex
