#pragma once

#include <atomic>

namespace quorvex {

// A front end's request that a running "Send Table/s To Oracle" end early: the command finishes
// the row in hand and then runs its closing steps, as after a lost connection, with no report.
// A front end that offers it (the command line, on Ctrl+C) hands one in through TablesScreen;
// Request() only sets a lock-free flag, so a signal handler may call it.
class StopRequest {
  public:
    void Request() noexcept { requested_.store(true, std::memory_order_relaxed); }
    bool Requested() const noexcept { return requested_.load(std::memory_order_relaxed); }

  private:
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<bool> requested_{false};
};

}  // namespace quorvex
