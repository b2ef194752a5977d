// A network stand-in for the benchmarks: a relay that listens on a Unix socket of its own and
// forwards every connection to the test server's socket, holding each piece of data back for a
// fixed delay in each direction, as a network with that one-way latency would (0.5 ms each way is
// a round trip of 1 ms, a server in the next building). Bandwidth is not limited; data keeps its
// order, and pieces that arrive close together leave as close together.
//
//   bench_delay_relay LISTEN_DIR SERVER_SOCKET [DELAY_US]        DELAY_US defaults to 500
//
// LISTEN_DIR gets the socket ".s.PGSQL.5432", so LISTEN_DIR is a SID (or a psql -h) for the
// relayed server. Runs until killed.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace {

timespec Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

long long Nanoseconds(const timespec& t) { return t.tv_sec * 1000000000LL + t.tv_nsec; }

timespec FromNanoseconds(long long ns) {
    return {static_cast<time_t>(ns / 1000000000LL), static_cast<long>(ns % 1000000000LL)};
}

sockaddr_un Address(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "socket path too long: %s\n", path.c_str());
        std::exit(2);
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

struct Piece {
    long long due;  // when it may leave, in monotonic nanoseconds
    std::vector<char> bytes;
};

// Copies `from` to `to`, each piece leaving `delayNs` after it arrived; at the end of `from`
// the remaining pieces still leave on time, then `to` is closed for writing.
void Forward(int from, int to, long long delayNs) {
    std::deque<Piece> waiting;
    bool open = true;
    std::vector<char> buffer(256 * 1024);
    while (open || !waiting.empty()) {
        const long long now = Nanoseconds(Now());
        while (!waiting.empty() && waiting.front().due <= now) {
            if (!WriteAll(to, waiting.front().bytes.data(), waiting.front().bytes.size())) {
                open = false;
                waiting.clear();
                break;
            }
            waiting.pop_front();
        }
        if (!open && waiting.empty()) break;
        pollfd watch{from, POLLIN, 0};
        timespec timeout{};
        const timespec* wait = nullptr;
        if (!waiting.empty()) {
            timeout = FromNanoseconds(std::max(0LL, waiting.front().due - now));
            wait = &timeout;
        }
        const int ready = ::ppoll(&watch, open ? 1 : 0, wait, nullptr);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && open) {
            const ssize_t got = ::read(from, buffer.data(), buffer.size());
            if (got <= 0) {
                open = false;
            } else {
                waiting.push_back({Nanoseconds(Now()) + delayNs,
                                   std::vector<char>(buffer.begin(), buffer.begin() + got)});
            }
        }
    }
    ::shutdown(to, SHUT_WR);
}

void Relay(int client, std::string server, long long delayNs) {
    const int upstream = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = Address(server);
    if (upstream < 0 ||
        ::connect(upstream, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::fprintf(stderr, "relay: cannot reach %s: %s\n", server.c_str(), std::strerror(errno));
        ::close(client);
        if (upstream >= 0) ::close(upstream);
        return;
    }
    std::thread back(Forward, upstream, client, delayNs);
    Forward(client, upstream, delayNs);
    back.join();
    ::close(client);
    ::close(upstream);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s LISTEN_DIR SERVER_SOCKET [DELAY_US]\n", argv[0]);
        return 2;
    }
    const std::string listenPath = std::string(argv[1]) + "/.s.PGSQL.5432";
    const std::string server = argv[2];
    const long long delayNs = (argc > 3 ? std::atoll(argv[3]) : 500) * 1000LL;
    // Sleeps end within a microsecond of their time rather than the default 50 us.
    ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    // Ends with the benchmark that started it, however that ends.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM, 0, 0, 0);
    ::signal(SIGPIPE, SIG_IGN);

    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = Address(listenPath);
    ::unlink(listenPath.c_str());
    if (listener < 0 ||
        ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 64) != 0) {
        std::fprintf(stderr, "relay: cannot listen on %s: %s\n", listenPath.c_str(),
                     std::strerror(errno));
        return 1;
    }
    std::printf("relaying %s to %s, %lld us each way\n", listenPath.c_str(), server.c_str(),
                delayNs / 1000);
    std::fflush(stdout);
    for (;;) {
        const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "relay: accept: %s\n", std::strerror(errno));
            return 1;
        }
        std::thread(Relay, client, server, delayNs).detach();
    }
}
