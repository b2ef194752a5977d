#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quorvex::test {

// A test server of the test's own (scripts/test-server.sh in a fresh folder), for faults that
// would ruin the shared one: it can be stopped in the middle of a command. It is reached through
// the same ODBC driver registration as the shared server (ODBCSYSINI of the test command), with
// its own socket folder as the SID. Stopped and removed with the object. Stopping it first checks
// its statement log by Oracle's statement rules (a failure of the test that made the statement).
class PrivateServer {
  public:
    PrivateServer();
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // False (with the reason) when the server could not be started.
    bool Running() const { return running_; }
    QString Problem() const { return problem_; }

    QString Sid() const;

    // Stops the server at once; connections open to it break.
    void Stop();

    // A query as scott on a connection of the test's own; each row's values as text. Throws
    // Failure with the server's message.
    QList<QStringList> Query(const QString& sql) const;
    // The number of rows of a table, or -1 when it cannot be counted.
    long long RowCount(const QString& table) const;

  private:
    bool RunScript(const QString& action);

    QTemporaryDir dir_;
    bool running_ = false;
    QString problem_;
};

}  // namespace quorvex::test
