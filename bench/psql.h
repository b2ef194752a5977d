#pragma once

// psql against the test server (or the benchmarks' relay to it), as scott: the server's own bulk
// load (\copy) beside the program's sends.

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace quorvex::bench {

// The newest installed psql of the server's packages, else the one on the PATH.
inline QString PsqlPath() {
    const QStringList candidates =
        QDir(QStringLiteral("/usr/lib/postgresql"))
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QString& version : candidates) {
        const QString path = QStringLiteral("/usr/lib/postgresql/%1/bin/psql").arg(version);
        if (QFileInfo(path).isExecutable()) {
            return path;
        }
    }
    return QStringLiteral("psql");
}

// Runs one psql command (-c) as scott, or with `file` the commands of that file (-f, the command
// then unused); returns the milliseconds it took, or -1 on failure.
inline double Psql(const QString& sid, const QString& command, const QString& file = {}) {
    QProcess psql;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"PGHOST", "PGUSER", "PGDATABASE", "PGSERVICE"}) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("tiger"));
    psql.setProcessEnvironment(environment);
    psql.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    psql.start(PsqlPath(),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), sid, QStringLiteral("-U"),
                QStringLiteral("scott"), QStringLiteral("-d"), QStringLiteral("scott"),
                file.isEmpty() ? QStringLiteral("-c") : QStringLiteral("-f"),
                file.isEmpty() ? command : file});
    psql.waitForFinished(-1);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (psql.exitStatus() != QProcess::NormalExit || psql.exitCode() != 0) {
        std::fprintf(stderr, "psql failed: %s\n%s\n", qPrintable(command),
                     psql.readAll().constData());
        return -1;
    }
    return ms;
}

// The rows of a table, counted by psql as scott; -1 on failure.
inline long long Count(const QString& sid, const QString& table) {
    QProcess psql;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("tiger"));
    psql.setProcessEnvironment(environment);
    psql.start(PsqlPath(),
               {QStringLiteral("-X"), QStringLiteral("-A"), QStringLiteral("-t"),
                QStringLiteral("-h"), sid, QStringLiteral("-U"), QStringLiteral("scott"),
                QStringLiteral("-d"), QStringLiteral("scott"), QStringLiteral("-c"),
                QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)});
    psql.waitForFinished(-1);
    return psql.exitCode() == 0 ? psql.readAll().trimmed().toLongLong() : -1;
}

}  // namespace quorvex::bench
