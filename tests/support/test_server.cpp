#include "support/test_server.h"

#include "support/server_log.h"

#include "data/core/connection_strings.h"
#include "data/core/failure.h"
#include "data/access/oracle_database_rules.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
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

QStringList Texts(const QList<LoggedStatement>& statements) {
    QStringList texts;
    for (const LoggedStatement& statement : statements) texts.append(statement.text);
    return texts;
}

}  // namespace

QString TestServerLogPath() {
    const QString path = qEnvironmentVariable("QUORVEX_TEST_LOG");
    if (path.isEmpty()) {
        ADD_FAILURE() << "QUORVEX_TEST_LOG is not set: run the tests through scripts/run-tests.sh";
    }
    return path;
}

std::int64_t TestServerLogSize() {
    const QString path = TestServerLogPath();
    return path.isEmpty() ? 0 : QFileInfo(path).size();
}

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

namespace {

void DeclareCharacterSet(const QString& oracleName, const QString& national) {
    ServerExecute(
        QStringLiteral("CREATE OR REPLACE VIEW nls_database_parameters AS "
                       "SELECT parameter::varchar(128) AS parameter, value::varchar(64) AS value "
                       "FROM (VALUES ('NLS_CHARACTERSET', '%1'), "
                       "('NLS_NCHAR_CHARACTERSET', '%2')) AS p(parameter, value)")
            .arg(oracleName, national));
}

}  // namespace

DeclaredCharacterSet::DeclaredCharacterSet(const QString& oracleName, const QString& national)
    : name_(oracleName) {
    DeclareCharacterSet(oracleName, national);
}

DeclaredCharacterSet::~DeclaredCharacterSet() {
    try {
        DeclareCharacterSet(QStringLiteral("AL32UTF8"), QStringLiteral("AL16UTF16"));
    } catch (const std::exception& failure) {
        ADD_FAILURE() << "The test server still declares another character set: " << failure.what();
    }
}

StatementLog::StatementLog() : start_(TestServerLogSize()) {}

QStringList StatementLog::Since() const { return Texts(SinceWithBoundValues()); }

QList<LoggedStatement> StatementLog::SinceWithBoundValues() const {
    QList<LoggedStatement> statements = SinceWithCharacterSetQueries();
    statements.removeIf(
        [](const LoggedStatement& statement) { return statement.text == kCharacterSetQuery; });
    return statements;
}

QList<LoggedStatement> StatementLog::SinceWithCharacterSetQueries() const {
    return ExecutedStatements(ServerLogEntriesSince(start_));
}

QList<LogEntry> ServerLogEntriesSince(std::int64_t offset) {
    const QString path = TestServerLogPath();
    if (path.isEmpty()) return {};
    // A statement of our own marks the end: once the log shows it, everything executed before
    // this call is in the file too, however the server buffers its log.
    static std::atomic<int> markers{0};
    const QString marker =
        kLogMarkerPrefix +
        QStringLiteral("%1-%2'").arg(QCoreApplication::applicationPid()).arg(++markers);
    ServerExecute(marker);
    for (int attempt = 0; attempt < 200; ++attempt) {
        const QList<LogEntry> entries = ReadServerLog(path, offset);
        for (const LogEntry& entry : entries) {
            if (entry.text.endsWith(marker)) return entries;
        }
        QThread::msleep(25);
    }
    ADD_FAILURE() << "The server log never showed the marker statement " << marker.toStdString();
    return ReadServerLog(path, offset);
}

}  // namespace quorvex::test
