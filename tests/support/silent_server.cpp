#include "support/silent_server.h"

#include <gtest/gtest.h>

#include <QFile>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace quorvex::test {

int ListenSilently(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/.s.PGSQL.5432"));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        return -1;
    }
    // The kernel completes each connection into the backlog: the client's login goes out and
    // waits for an answer that never comes.
    if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener, 64) != 0) {
        const int error = errno;
        ::close(listener);
        errno = error;
        return -1;
    }
    return listener;
}

SilentServer::SilentServer() : folder_(QStringLiteral("/tmp/qvx-silent-XXXXXX")) {
    if (!folder_.isValid()) {
        ADD_FAILURE() << "no folder for the silent server";
        return;
    }
    socket_ = ListenSilently(folder_.path());
    if (socket_ < 0) {
        ADD_FAILURE() << "the silent server cannot listen: " << std::strerror(errno);
    }
}

SilentServer::~SilentServer() {
    if (socket_ >= 0) {
        ::close(socket_);
    }
}

}  // namespace quorvex::test
