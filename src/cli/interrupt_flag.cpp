#include "cli/interrupt_flag.h"

#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace quorvex::interrupt_flag {

namespace {

// Only a lock-free atomic may be touched from a signal handler.
std::atomic<bool> raised{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// The self-pipe: the handler writes one byte, waits poll the reading end.
int wakePipe[2] = {-1, -1};

// The running send's stop request, told from the handler.
std::atomic<StopRequest*> stopRequest{nullptr};
static_assert(std::atomic<StopRequest*>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    const int savedErrno = errno;
    if (raised.exchange(true)) {
        std::signal(SIGINT, SIG_DFL);
        std::raise(SIGINT);
    }
    if (StopRequest* request = stopRequest.load()) {
        request->Request();
    }
    if (wakePipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

void Install() {
    if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakePipe[0] = wakePipe[1] = -1;  // waits then only see the flag when their poll ends
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Calls into the ODBC driver and the server's client library resume after the handler,
    // rather than failing half-way with EINTR.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

void StopOnInterrupt(StopRequest* request) {
    stopRequest.store(request);
    if (request != nullptr && raised.load()) {
        request->Request();
    }
}

void Release() {
    std::signal(SIGINT, SIG_DFL);
    if (raised.load()) {
        std::raise(SIGINT);
    }
}

bool Raised() { return raised.load(); }

int WakeDescriptor() { return wakePipe[0]; }

}  // namespace quorvex::interrupt_flag
