#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quorvex::test {

// A server that takes a connection and never answers (a hung database, or a firewall that
// swallows every reply): a socket that listens in a folder of its own under the name the test
// server's driver looks for in a socket folder, and never reads. Its folder is the SID.
class SilentServer {
  public:
    SilentServer();  // fails the current test when the socket cannot be made
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    QString Sid() const { return folder_.path(); }

  private:
    QTemporaryDir folder_;
    int socket_ = -1;
};

// Listens silently in `folder` (see SilentServer); the listening socket, or -1 with errno set.
int ListenSilently(const QString& folder);

}  // namespace quorvex::test
