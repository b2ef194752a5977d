#include "cli/interrupt_flag.h"

#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace quorvex::interrupt_flag {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Only lock-free atomics may be touched from a signal handler.
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free);

// The self-pipe: the handler writes one byte, waits poll the reading end.
int wakePipe[2] = {-1, -1};

// The running send's stop request, told from the handler.
std::atomic<StopRequest*> stopRequest{nullptr};
static_assert(std::atomic<StopRequest*>::is_always_lock_free);

void EndAsIfUncaught(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void OnSignal(int signal) {
    const int savedErrno = errno;
    int none = 0;
    if (!caught.compare_exchange_strong(none, signal)) {
        EndAsIfUncaught(signal);
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
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Calls into the ODBC driver and the server's client library resume after the handler,
    // rather than failing half-way with EINTR.
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        sigaction(signal, &action, nullptr);
    }
    // A reader of standard output that went away (`quorvex list | head -1`) must not end a
    // send before its summary and report are written: the write fails instead.
    std::signal(SIGPIPE, SIG_IGN);
    // Past a file-size limit (ulimit -f) a write must fail with EFBIG, to be reported, rather
    // than end the program with the report and the summary unwritten.
    std::signal(SIGXFSZ, SIG_IGN);
}

void StopRunning() {
    if (StopRequest* request = stopRequest.load()) {
        request->Request();
    }
}

void StopOnInterrupt(StopRequest* request) {
    stopRequest.store(request);
    if (request != nullptr && Raised()) {
        request->Request();
    }
}

void Release() {
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    if (Raised()) {
        std::raise(caught.load());
    }
}

bool Raised() { return caught.load() != 0; }

int Signal() { return caught.load(); }

int WakeDescriptor() { return wakePipe[0]; }

}  // namespace quorvex::interrupt_flag
