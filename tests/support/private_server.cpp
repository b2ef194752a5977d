#include "support/private_server.h"

#include "data/core/failure.h"
#include "support/oracle_form_check.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

namespace quorvex::test {

namespace {

QString ScriptPath() { return QStringLiteral(QUORVEX_SOURCE_DIR "/scripts/test-server.sh"); }

// No "." in the folder: it becomes the SID inside an ODBC connection string.
QString FolderTemplate() { return QDir::tempPath() + QStringLiteral("/qvxf-XXXXXX"); }

}  // namespace

PrivateServer::PrivateServer() : dir_(FolderTemplate()) {
    if (!dir_.isValid()) {
        problem_ = QStringLiteral("no temporary folder: ") + dir_.errorString();
        return;
    }
    if (qEnvironmentVariableIsEmpty("ODBCSYSINI")) {
        problem_ =
            QStringLiteral("ODBCSYSINI is not set: run the tests through scripts/run-tests.sh");
        return;
    }
    running_ = RunScript(QStringLiteral("start"));
}

PrivateServer::~PrivateServer() { Stop(); }

QString PrivateServer::Sid() const { return dir_.path() + QStringLiteral("/sock"); }

void PrivateServer::Stop() {
    if (running_) {
        // Whatever the test made this server run, Oracle would have to take too. The log goes
        // with the server.
        const QString log = dir_.path() + QStringLiteral("/postgres.log");
        ExpectOracleForm(ReadServerLog(log, 0), log);
        RunScript(QStringLiteral("stop"));
        running_ = false;
    }
}

bool PrivateServer::RunScript(const QString& action) {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("bash"), {ScriptPath(), action, dir_.path()});
    // The script bounds every wait of its own (pg_ctl -t 60).
    if (!script.waitForFinished(-1) || script.exitStatus() != QProcess::NormalExit ||
        script.exitCode() != 0) {
        problem_ = QStringLiteral("test-server.sh %1 failed: %2")
                       .arg(action, QString::fromLocal8Bit(script.readAll()));
        return false;
    }
    return true;
}

QList<QStringList> PrivateServer::Query(const QString& sql) const {
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("private-server-%1").arg(++counter);
    QList<QStringList> rows;
    bool failed = false;
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=") + Sid() +
                           QStringLiteral(";Uid=scott;Pwd=tiger;"));
        if (!db.open()) {
            failed = true;
            failure = db.lastError().databaseText();
        } else {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!query.exec(sql)) {
                failed = true;
                failure = query.lastError().databaseText();
            }
            while (!failed && query.next()) {
                QStringList row;
                for (int i = 0; i < query.record().count(); ++i) {
                    row.append(query.value(i).toString());
                }
                rows.append(row);
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (failed) {
        throw Failure(failure);
    }
    return rows;
}

long long PrivateServer::RowCount(const QString& table) const {
    try {
        const QList<QStringList> rows =
            Query(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
        return rows.size() == 1 ? rows[0].value(0).toLongLong() : -1;
    } catch (const Failure&) {
        return -1;
    }
}

}  // namespace quorvex::test
