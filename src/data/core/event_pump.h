#pragma once

#include <QElapsedTimer>

namespace quorvex {

// Lets pending window events run from a tight loop without paying for it on every step: the
// events run at most once per interval, so a walk over tens of thousands of entries stays as
// fast as the file system while the windows still repaint and can be closed (the clicks and keys
// among the events reach no control while a command runs). Events that take long to run (a list
// of a hundred thousand entries laid out anew after some went) are let in less often, so that
// they take about a fifth of the loop's time at most, yet at least every quarter of a second.
class EventPump {
  public:
    explicit EventPump(int intervalMs = 10);
    // Runs pending events on the first call and then whenever the wait since they last ran has
    // passed.
    void Pump();

  private:
    QElapsedTimer sinceLastRun_;
    qint64 intervalMs_;
    qint64 waitMs_;
};

}  // namespace quorvex
