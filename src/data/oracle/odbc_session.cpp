#include "data/oracle/odbc_session.h"

#include "data/core/do_events.h"
#include "data/core/failure.h"
#include "data/oracle/odbc_values.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quorvex {
namespace {

QString UniqueConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("quorvex-odbc-%1").arg(++counter);
}

// Qt's ODBC driver reads any connection string that contains ".dsn" as the name of a file data
// source and puts "FILEDSN=" in front of it, so the driver manager would look for a file instead
// of the driver asked for. Say so plainly rather than show the confusing result.
void RejectFileDataSourceLookalike(const QString& connectionString) {
    if (connectionString.contains(QStringLiteral(".dsn"), Qt::CaseInsensitive)) {
        throw Failure(QStringLiteral(
            "The connection string contains \".dsn\", which the ODBC layer would take for the "
            "name of a file data source: the connection cannot be made with these fields."));
    }
}

// The driver manager takes the string's length as a 16-bit count; a longer string would be cut.
void RejectOverlongString(const QString& connectionString) {
    constexpr qsizetype kLongestConnectionString = 32767;
    if (connectionString.size() > kLongestConnectionString) {
        throw Failure(QStringLiteral("The connection string is too long: it has %1 characters, "
                                     "and the ODBC driver manager takes at most %2.")
                          .arg(connectionString.size())
                          .arg(kLongestConnectionString));
    }
}

// The driver is asked to give up a little after the program does: a log-in the program has
// abandoned then still ends by itself, its thread and socket with it, on a driver that keeps the
// attribute (psqlODBC does, through libpq's connect_timeout; Oracle's driver does not).
constexpr int kDriverLoginTimeoutSeconds = kLoginTimeoutSeconds + 15;

// What a log-in thread and the thread that waits for it share; the log-in thread holds it alone
// once the wait has given up.
struct PendingLogin {
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;   // the thread's answer is in
    bool abandoned = false;  // the waiting thread gave up: the thread cleans up by itself
    bool opened = false;
    QString failure;
};

// Runs on a detached thread of its own and touches nothing but `login` and the connection it
// makes under `name`, so that the process may go on, and end, while a driver never answers. The
// connection is made on this thread and, once open, handed to `caller`, the thread that asked
// for it (a Qt SQL connection belongs to one thread); an abandoned one is closed and removed
// here, whenever the driver returns.
void LogIn(const std::shared_ptr<PendingLogin>& login, const QString& name,
           const QString& connectionString, QThread* caller) {
    bool opened = false;
    QString failure;
    QSqlDriver* driver = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        if (!db.isValid()) {
            failure = QStringLiteral(
                "The ODBC driver of Qt SQL (QODBC) is not available; install libqt6sql6-odbc.");
        } else {
            db.setDatabaseName(connectionString);
            db.setConnectOptions(
                QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kDriverLoginTimeoutSeconds));
            opened = db.open();
            if (!opened) failure = OdbcErrorText(db.lastError());
            driver = db.driver();
        }
    }
    {
        const std::lock_guard lock(login->mutex);
        if (!login->abandoned) {
            if (opened) driver->moveToThread(caller);
            login->opened = opened;
            login->failure = failure;
            login->finished = true;
            login->ended.notify_all();
            if (opened) return;  // the connection is the caller's now
        }
    }
    QSqlDatabase::removeDatabase(name);  // closes it when it opened after all
}

// Opens the connection on a thread of its own while the windows go on repainting, and gives up
// after kLoginTimeoutSeconds whatever the driver does: a listener that takes the connection and
// never answers, or a firewall that drops every packet, would otherwise hold the log-in forever
// (Oracle's driver does not keep ODBC's login time-out). True when the connection `name` is open
// on this thread.
bool OpenWithinLoginTimeout(const QString& name, const QString& connectionString,
                            QString& failure) {
    auto login = std::make_shared<PendingLogin>();
    std::thread(LogIn, login, name, connectionString, QThread::currentThread()).detach();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(kLoginTimeoutSeconds);
    // How often pending events run meanwhile: often enough that a repaint or a close is not
    // noticed waiting.
    constexpr std::chrono::milliseconds kWaitBetweenRuns{20};
    std::unique_lock lock(login->mutex);
    while (!login->ended.wait_for(lock, kWaitBetweenRuns, [&] { return login->finished; })) {
        if (std::chrono::steady_clock::now() >= deadline) {
            login->abandoned = true;
            failure = QStringLiteral(
                          "The server did not answer within %1 seconds; the log-in "
                          "was given up.")
                          .arg(kLoginTimeoutSeconds);
            return false;
        }
        lock.unlock();
        DoEvents();
        lock.lock();
    }
    failure = login->failure;
    return login->opened;
}

}  // namespace

std::shared_ptr<OdbcSession> OdbcSession::Open(const QString& connectionString) {
    RejectFileDataSourceLookalike(connectionString);
    RejectOverlongString(connectionString);

    std::shared_ptr<OdbcSession> session(new OdbcSession(UniqueConnectionName()));
    QString failure;
    session->open_ = OpenWithinLoginTimeout(session->name_, connectionString, failure);
    if (!session->open_) {
        // The connection's name stays with the log-in thread, which removes it.
        session->name_.clear();
        throw Failure(failure);
    }
    return session;
}

OdbcSession::~OdbcSession() { close(); }

QSqlDatabase OdbcSession::database() const {
    if (!open_) throw Failure(QStringLiteral("The connection is closed."));
    return QSqlDatabase::database(name_, false);
}

void OdbcSession::close() {
    if (!open_) return;
    open_ = false;
    // Users detach themselves while they let go, so walk a copy.
    const std::set<SessionUser*> users = users_;
    for (SessionUser* user : users) user->sessionClosing();
    users_.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

}  // namespace quorvex
