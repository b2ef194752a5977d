#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quorvex::test {

// A limit on a test that could otherwise wait without end inside the code it tests (a log-in the
// program never gives up): when the object still lives after `limit`, the test program says so
// and ends with a failure, rather than hang until the test command's own limit.
class Deadline {
  public:
    explicit Deadline(std::chrono::seconds limit);
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool met_ = false;
    std::thread watch_;
};

}  // namespace quorvex::test
