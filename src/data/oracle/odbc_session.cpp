#include "data/oracle/odbc_session.h"

#include "data/core/do_events.h"
#include "data/core/failure.h"
#include "data/oracle/odbc_values.h"

#include <QElapsedTimer>
#include <QSqlError>

#include <atomic>

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

// Opens the connection on a helper thread while the windows go on repainting, since a login can
// take up to the time-out. The driver gives up after kLoginTimeoutSeconds (ODBC's login time-out;
// Oracle's driver and psqlODBC, through libpq's connect_timeout, both keep it); a failure that
// came only then is the server's silence, and the report says so.
bool OpenWithinLoginTimeout(QSqlDatabase& db, QString& failure) {
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kLoginTimeoutSeconds));
    bool opened = false;
    QElapsedTimer waited;
    waited.start();
    WaitLettingEventsRun([&db, &opened] { opened = db.open(); });
    if (!opened) {
        failure = OdbcErrorText(db.lastError());
        constexpr qint64 kMargin = 500;  // the driver's clock and ours
        if (waited.elapsed() >= kLoginTimeoutSeconds * 1000 - kMargin) {
            failure = QStringLiteral("The server did not answer within %1 seconds: %2")
                          .arg(QString::number(kLoginTimeoutSeconds), failure);
        }
    }
    return opened;
}

}  // namespace

std::shared_ptr<OdbcSession> OdbcSession::Open(const QString& connectionString) {
    RejectFileDataSourceLookalike(connectionString);
    RejectOverlongString(connectionString);

    std::shared_ptr<OdbcSession> session(new OdbcSession(UniqueConnectionName()));
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), session->name_);
        if (!db.isValid()) {
            failure = QStringLiteral(
                "The ODBC driver of Qt SQL (QODBC) is not available; install libqt6sql6-odbc.");
        } else {
            db.setDatabaseName(connectionString);
            session->open_ = OpenWithinLoginTimeout(db, failure);
        }
    }
    if (!session->open_) {
        QSqlDatabase::removeDatabase(session->name_);
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
