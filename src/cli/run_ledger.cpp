#include "cli/run_ledger.h"

#include "cli/exit_status.h"
#include "data/core/connection_strings.h"
#include "shell/command_steps.h"

#include <QCoreApplication>
#include <QDir>

#include <climits>

#include <unistd.h>

namespace quorvex {

namespace {

QString HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? QString::fromLocal8Bit(name) : QString();
}

}  // namespace

std::optional<int> TakeLedger(MigrationLedger& ledger, const ConnectionFields& fields,
                              const QStringList& oracleTables, const QStringList& chosen,
                              Terminal& terminal) {
    const auto say = [&terminal](const QString& line) {
        terminal.Message(QStringLiteral("quorvex send: ") + line);
    };
    for (const QString& name : {kLedgerRunsTable, kLedgerTablesTable, kLedgerLockTable}) {
        if (chosen.contains(name, Qt::CaseInsensitive)) {
            say(QStringLiteral("%1 is the name of a table of the ledger this program keeps in "
                               "the schema; give the Paradox table another name.")
                    .arg(name));
            return kExitUsage;
        }
    }
    LedgerRun run;
    run.host = HostName();
    run.process = ::getpid();
    run.started = QDateTime::currentDateTimeUtc();
    run.options = QCoreApplication::arguments().mid(1).join(u' ');
    run.folder = QDir(fields.Text1()).absolutePath();
    const MigrationLedger::Taking taking =
        ledger.Take(OracleConnectionString(fields), oracleTables, run);
    if (taking.busy) {
        say(QStringLiteral("another send is running into this schema: %1; nothing was changed.")
                .arg(taking.holder ? DescribeLedgerRun(*taking.holder)
                                   : QStringLiteral("it has not yet recorded itself")));
        return kExitUsage;
    }
    if (!taking.taken) {
        say(QStringLiteral("the ledger of this schema could not be locked, nothing was "
                           "changed: %1")
                .arg(taking.failure.simplified()));
        return kExitIncomplete;
    }
    for (const LedgerRun& dead : taking.dead) {
        say(QStringLiteral("took over the lock of %1, which ended without closing.")
                .arg(DescribeLedgerRun(dead)));
    }
    return std::nullopt;
}

std::map<QString, LedgerEntry> ReadLedgerEntries(MigrationLedger& ledger,
                                                 const ConnectionFields& fields,
                                                 const QStringList& oracleTables,
                                                 Terminal& terminal) {
    try {
        if (ledger.Taken()) {
            return ledger.LatestEntries();
        }
        if (!oracleTables.contains(kLedgerTablesTable)) {
            return {};
        }
        Connection oracle;
        oracle.Open(OracleConnectionString(fields));
        return MigrationLedger::LatestLedgerEntries(oracle);
    } catch (const std::exception& failure) {
        terminal.Message(
            QStringLiteral("quorvex send: the ledger could not be read; kept tables are judged "
                           "by their counts alone: %1")
                .arg(CommandSteps::Describe(failure).simplified()));
        return {};
    }
}

}  // namespace quorvex
