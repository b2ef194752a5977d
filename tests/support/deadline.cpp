#include "support/deadline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace quorvex::test {

Deadline::Deadline(std::chrono::seconds limit) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test != nullptr
                                 ? std::string(test->test_suite_name()) + "." + test->name()
                                 : std::string("the test");
    watch_ = std::thread([this, limit, name] {
        std::unique_lock lock(mutex_);
        if (!done_.wait_for(lock, limit, [this] { return met_; })) {
            std::fprintf(stderr, "FAILED: %s still runs after its deadline of %lld s\n",
                         name.c_str(), static_cast<long long>(limit.count()));
            std::fflush(stderr);
            std::_Exit(1);
        }
    });
}

Deadline::~Deadline() {
    {
        const std::lock_guard lock(mutex_);
        met_ = true;
    }
    done_.notify_all();
    watch_.join();
}

}  // namespace quorvex::test
