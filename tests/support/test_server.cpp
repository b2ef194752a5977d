#include "support/test_server.h"

#include "data/connection_strings.h"
#include "data/failure.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <atomic>

namespace quorvex::test {
namespace {

QString ServerErrorText(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.trimmed().isEmpty()) text = error.driverText();
    return text.trimmed();
}

QString UniqueName(const char* purpose) {
    static std::atomic<int> counter{0};
    return QStringLiteral("quorvex-test-%1-%2").arg(QLatin1String(purpose)).arg(++counter);
}

// A connection of the tests' own to the test server, through the same ODBC path the program
// takes, removed again when it goes out of scope.
class ServerConnection {
  public:
    ServerConnection() : name_(UniqueName("server")) {
        QString failure;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name_);
            db.setDatabaseName(TestServerConnectionString());
            if (!db.open()) failure = ServerErrorText(db.lastError());
        }
        if (!failure.isNull()) {
            QSqlDatabase::removeDatabase(name_);
            throw Failure(QStringLiteral("The test server refused the test login: ") + failure);
        }
    }
    ~ServerConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    void execute(const QString& sql) const {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        query.setForwardOnly(true);
        if (!query.exec(sql)) throw Failure(ServerErrorText(query.lastError()));
    }

    QList<QStringList> rows(const QString& sql) const {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        query.setForwardOnly(true);
        query.setNumericalPrecisionPolicy(QSql::HighPrecision);
        if (!query.exec(sql)) throw Failure(ServerErrorText(query.lastError()));
        QList<QStringList> result;
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < query.record().count(); ++i) {
                const QVariant value = query.value(i);
                row.append(value.isNull() ? QString() : value.toString());
            }
            result.append(row);
        }
        if (query.lastError().isValid()) throw Failure(ServerErrorText(query.lastError()));
        return result;
    }

  private:
    QString name_;
};

// --- Reading the server's statement log -------------------------------------------------------

QString LogPath() {
    const QString path = qEnvironmentVariable("QUORVEX_TEST_LOG");
    if (path.isEmpty()) {
        ADD_FAILURE() << "QUORVEX_TEST_LOG is not set: run the tests through scripts/run-tests.sh";
    }
    return path;
}

struct LogEntry {
    QString pid;
    QString level;  // LOG, ERROR, STATEMENT, DETAIL, ...
    QString text;   // continuation lines joined with "\n"
};

// Entries written from byte `offset` on. The line prefix is '%m [%p] %q%u@%d '.
QList<LogEntry> ReadLog(const QString& path, std::int64_t offset) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "Cannot read the server log " << path.toStdString();
        return {};
    }
    file.seek(offset);
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression header(QStringLiteral(
        R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d(?:\.\d+)? \S+ \[(\d+)\] (?:\S*@\S* )?([A-Z]+):  (.*)$)"));
    QList<LogEntry> entries;
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(u'\t')) {
            if (!entries.isEmpty()) entries.last().text += u'\n' + line.mid(1);
            continue;
        }
        const QRegularExpressionMatch match = header.match(line);
        if (match.hasMatch())
            entries.append({match.captured(1), match.captured(2), match.captured(3)});
    }
    return entries;
}

const QString kMarkerPrefix = QStringLiteral("SELECT 'quorvex-log-sync-");

// What psqlODBC sends on its own (at connect, for column descriptions, around statements):
// none of it is the program's.
bool IsDriverHousekeeping(const QString& statement) {
    static const QStringList prefixes = {
        QStringLiteral("SET DateStyle"),
        QStringLiteral("SET extra_float_digits"),
        QStringLiteral("select oid, typbasetype from pg_type"),
        QStringLiteral("show "),
        QStringLiteral("DEALLOCATE "),
        QStringLiteral("SAVEPOINT _EXEC_SVP"),
        QStringLiteral("RELEASE _EXEC_SVP"),
        QStringLiteral("ROLLBACK TO _EXEC_SVP"),
        kMarkerPrefix,
    };
    for (const QString& prefix : prefixes) {
        if (statement.startsWith(prefix)) return true;
    }
    // Catalogue look-ups, written in lower case by the driver.
    return statement.startsWith(QStringLiteral("select ")) &&
           statement.contains(QStringLiteral("pg_catalog."));
}

// The executed statements among the entries: "statement:" and "execute <name>:" lines, and the
// "STATEMENT:" line of an ERROR for a statement that never got that far (one that failed to
// parse). Housekeeping is left out.
QStringList StatementsOf(const QList<LogEntry>& entries) {
    static const QRegularExpression executed(QStringLiteral(R"(^execute [^:]*: )"));
    QStringList statements;
    QHash<QString, QString> lastLoggedByBackend;
    for (const LogEntry& entry : entries) {
        QString statement;
        if (entry.level == u"LOG" && entry.text.startsWith(QStringLiteral("statement: "))) {
            statement = entry.text.mid(11);
            lastLoggedByBackend[entry.pid] = statement;
        } else if (entry.level == u"LOG" && entry.text.contains(executed)) {
            statement = entry.text;
            statement.remove(executed);
            lastLoggedByBackend[entry.pid] = statement;
        } else if (entry.level == u"STATEMENT") {
            if (lastLoggedByBackend.value(entry.pid) == entry.text) continue;
            statement = entry.text;
        } else {
            continue;
        }
        if (!IsDriverHousekeeping(statement)) statements.append(statement);
    }
    return statements;
}

std::int64_t LogSize() {
    const QString path = LogPath();
    return path.isEmpty() ? 0 : QFileInfo(path).size();
}

}  // namespace

QString TestServerSid() {
    const QString sid = qEnvironmentVariable("QUORVEX_TEST_SID");
    if (sid.isEmpty()) {
        ADD_FAILURE() << "No test server: QUORVEX_TEST_SID is not set. Run the tests through "
                         "scripts/run-tests.sh, which starts one.";
        throw Failure(QStringLiteral("No test server was started."));
    }
    return sid;
}

FixedFields TestServerLogin(const QString& paradoxFolder) {
    FixedFields fields;
    fields.folder = paradoxFolder;
    fields.sid = TestServerSid();
    fields.user = QStringLiteral("scott");
    fields.password = QStringLiteral("tiger");
    return fields;
}

QString TestServerConnectionString() { return OracleConnectionString(TestServerLogin()); }

void ServerExecute(const QString& sql) { ServerConnection().execute(sql); }

QList<QStringList> ServerQuery(const QString& sql) { return ServerConnection().rows(sql); }

void DropAllTables() {
    const ServerConnection server;
    for (const QStringList& row :
         server.rows(QStringLiteral("SELECT table_name FROM user_tables"))) {
        QString name = row.value(0);
        server.execute(QStringLiteral("DROP TABLE \"%1\" CASCADE")
                           .arg(name.replace(u'"', QStringLiteral("\"\""))));
    }
}

StatementLog::StatementLog() : start_(LogSize()) {}

QStringList StatementLog::Since() const {
    const QString path = LogPath();
    if (path.isEmpty()) return {};
    // A statement of our own marks the end: once the log shows it, everything executed before
    // this call is in the file too, however the server buffers its log.
    static std::atomic<int> markers{0};
    const QString marker =
        kMarkerPrefix +
        QStringLiteral("%1-%2'").arg(QCoreApplication::applicationPid()).arg(++markers);
    ServerExecute(marker);
    for (int attempt = 0; attempt < 200; ++attempt) {
        const QList<LogEntry> entries = ReadLog(path, start_);
        for (const LogEntry& entry : entries) {
            if (entry.text.endsWith(marker)) return StatementsOf(entries);
        }
        QThread::msleep(25);
    }
    ADD_FAILURE() << "The server log never showed the marker statement " << marker.toStdString();
    return StatementsOf(ReadLog(path, start_));
}

}  // namespace quorvex::test
