#pragma once

#include <QElapsedTimer>

namespace quorvex {

// Lets pending window events run from a tight loop without paying for it on every step: the
// events run at most once per interval, so a walk over tens of thousands of entries stays as
// fast as the file system while the windows still repaint and take clicks.
class EventPump {
  public:
    explicit EventPump(int intervalMs = 10);
    // Runs pending events on the first call and then whenever the interval has passed since
    // they last ran.
    void Pump();

  private:
    QElapsedTimer sinceLastRun_;
    qint64 intervalMs_;
};

}  // namespace quorvex
