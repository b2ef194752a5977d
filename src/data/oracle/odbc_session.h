#pragma once

#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <set>

namespace quorvex {

// Something that holds a query on a session's connection and must let go of it when the
// session closes (Qt refuses to remove a connection that queries still use).
class SessionUser {
  public:
    virtual void sessionClosing() = 0;

  protected:
    ~SessionUser() = default;
};

// How long opening a connection waits for the server to answer before it gives up.
inline constexpr int kLoginTimeoutSeconds = 30;

// One Qt SQL ODBC connection under a name of its own. Closing it first makes every registered
// user drop its query, then closes and removes the connection; a closed session stays closed.
class OdbcSession {
  public:
    // Connects with the connection string exactly as given; throws Failure with the driver's
    // message when the driver refuses, or after kLoginTimeoutSeconds without an answer, whatever
    // the driver does (the log-in goes on alone on a thread of its own and cleans up after
    // itself). The windows go on repainting meanwhile (DoEvents). Sessions of several threads
    // log in at once, each on its own.
    static std::shared_ptr<OdbcSession> Open(const QString& connectionString);
    ~OdbcSession();
    OdbcSession(const OdbcSession&) = delete;
    OdbcSession& operator=(const OdbcSession&) = delete;

    bool isOpen() const { return open_; }
    // The open connection; throws Failure when the session was closed.
    QSqlDatabase database() const;
    void close();

    void attach(SessionUser* user) { users_.insert(user); }
    void detach(SessionUser* user) { users_.erase(user); }

  private:
    explicit OdbcSession(QString name) : name_(std::move(name)) {}

    QString name_;
    bool open_ = false;
    std::set<SessionUser*> users_;
};

}  // namespace quorvex
