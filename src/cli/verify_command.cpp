#include "cli/verify_command.h"

#include "cli/command_tables.h"
#include "cli/connected_jobs.h"
#include "cli/exit_status.h"
#include "cli/interrupt_flag.h"
#include "cli/job_progress.h"
#include "cli/verify_report.h"
#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "shell/command_steps.h"
#include "transfer/migration_ledger.h"
#include "transfer/table_plan.h"

#include <QElapsedTimer>
#include <QSet>

#include <algorithm>
#include <mutex>

#include <unistd.h>

namespace quorvex {

namespace {

using Result = VerifiedTable::Result;

const QString kVerify = QStringLiteral("verify");

// The Paradox table's record count, for the progress line; nothing when it cannot be read (the
// comparison then says why).
std::optional<std::int64_t> RecordCount(Connection& paradox, const QString& table,
                                        const ParadoxTableOptions& reading) {
    try {
        return TablePlan::Read(paradox, table, reading).rowCount;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Why the Paradox table cannot be read (an empty or damaged file), in the reader's words; empty
// when it can.
QString WhyUnreadable(Connection& paradox, const QString& table,
                      const ParadoxTableOptions& reading) {
    try {
        TablePlan::Read(paradox, table, reading);
        return QString();
    } catch (const std::exception& failure) {
        return CommandSteps::Describe(failure);
    }
}

// The ledger's latest entries, when the schema has a ledger that can be read; the comparison
// stands without it.
std::map<QString, LedgerEntry> ReadLedger(const ConnectionFields& fields,
                                          const QStringList& oracleTables) {
    if (!oracleTables.contains(kLedgerTablesTable)) {
        return {};
    }
    try {
        Connection oracle;
        oracle.Open(OracleConnectionString(fields));
        return MigrationLedger::LatestLedgerEntries(oracle);
    } catch (const std::exception&) {
        return {};
    }
}

// The results the jobs hand in, under the lock.
class Findings {
  public:
    explicit Findings(JobProgress& progress) : progress_(progress) {}

    void Add(VerifiedTable table) {
        progress_.Ended(table.name, table.FinishedLine());
        const std::lock_guard guard(lock_);
        tables_.push_back(std::move(table));
    }
    // Once the jobs have ended.
    std::vector<VerifiedTable>& Tables() { return tables_; }

  private:
    std::mutex lock_;
    JobProgress& progress_;
    std::vector<VerifiedTable> tables_;
};

// Compares one table on a job's connections; false when the connection was lost.
bool CompareOne(BulkConnections& own, const QString& table, const FolderTable& source,
                const ParadoxTableOptions& reading, bool native,
                const std::map<QString, LedgerEntry>& ledger, const StopRequest& stop,
                JobProgress& progress, Findings& findings) {
    progress.Started(table);
    const QString readName = source.twinFile.isEmpty() ? table : source.twinFile;
    const QString& sourceFile = source.sourceFile;
    if (const std::optional<std::int64_t> rows = RecordCount(own.paradox, readName, reading)) {
        progress.RowCount(table, *rows);
    }
    VerifiedTable found{table, sourceFile, Result::Stopped};
    if (const auto entry = ledger.find(table); entry != ledger.end()) {
        found.ledger = entry->second;
    }
    QElapsedTimer clock;
    clock.start();
    bool lost = false;
    try {
        found.comparison = CompareSentTable(
            own.paradox, own.oracle, table, &stop,
            [&](std::int64_t rows) { progress.Rows(table, rows); }, reading, readName, native);
        if (found.comparison) {
            found.result = found.comparison->Same() ? Result::Same : Result::Differs;
        }
    } catch (const std::exception& failure) {
        found.result = Result::NotCompared;
        found.problem = CommandSteps::Describe(failure);
        lost = CommandSteps::LostTheConnection(failure);
        progress.Report(table + QStringLiteral(": ") + found.problem);
    }
    found.seconds = clock.elapsed() / 1000.0;
    findings.Add(std::move(found));
    return !lost;
}

}  // namespace

int RunVerify(const CommandLineOptions& options, Terminal& terminal) {
    RunRecord run;
    run.started = QDateTime::currentDateTimeUtc();
    CommandLineFields fields(options);
    CommandTables tables;
    if (const std::optional<int> status = FindCommandTables(
            options, kVerify, QString(), {{QStringLiteral("--report"), options.reportFile}}, fields,
            tables, terminal)) {
        return *status;
    }
    run.folder = fields.Text1();
    run.sid = fields.Text2();
    run.user = fields.Text3();

    JobProgress progress(terminal, Terminal::ShowsLinesInPlace(), kVerify,
                         QStringLiteral("compared"));
    Findings findings(progress);
    const FolderTables& folder = *tables.folder;
    if (options.tables.isEmpty()) {
        for (const FolderTable& table : folder.InSubfolders()) {
            findings.Tables().push_back({folder.RelativeName(table), table.sourceFile,
                                         Result::InSubfolder, std::nullopt,
                                         folder.SubfolderHint(table, kVerify)});
        }
    }
    // A send creates the Oracle table under the Paradox table's own name, letter for letter.
    const QStringList oracleEntries = tables.oracle.Entries();
    const std::map<QString, LedgerEntry> ledger = ReadLedger(fields, oracleEntries);
    const QSet<QString> inOracle(oracleEntries.begin(), oracleEntries.end());
    // A table missing from Oracle because its file cannot be read is named for that reason.
    Connection paradox;
    paradox.SetCursorLocation(adUseClient);
    QStringList toCompare;
    for (const QString& name : tables.chosen) {
        if (inOracle.contains(name)) {
            toCompare.append(name);
            continue;
        }
        QString unreadable;
        try {
            if (!paradox.IsOpen()) {
                paradox.Open(ParadoxConnectionString(fields));
            }
            unreadable = WhyUnreadable(paradox, name, ReadingOptions(options));
        } catch (const std::exception& failure) {
            unreadable = CommandSteps::Describe(failure);
        }
        findings.Tables().push_back(
            {name, folder.FindOwn(name)->sourceFile,
             unreadable.isEmpty() ? Result::NotInOracle : Result::NotCompared, std::nullopt,
             unreadable});
    }
    paradox.Close();

    const QStringList unreached = RunConnectedJobs(
        fields, toCompare, options.jobs, progress,
        [&](BulkConnections& own, const QString& table, const StopRequest& stop) {
            return CompareOne(own, table, *folder.FindOwn(table), ReadingOptions(options),
                              options.native, ledger, stop, progress, findings);
        });
    std::vector<VerifiedTable>& found = findings.Tables();
    for (const QString& name : unreached) {
        found.push_back({name, folder.FindOwn(name)->sourceFile, Result::NotReached});
    }

    const bool allSame = std::all_of(found.begin(), found.end(), [](const VerifiedTable& table) {
        return !table.Counts() || table.result == Result::Same;
    });
    int status = interrupt_flag::Raised()             ? kExitSignalBase + interrupt_flag::Signal()
                 : allSame && progress.Reports() == 0 ? kExitSuccess
                                                      : kExitIncomplete;
    WriteAll(STDOUT_FILENO, VerifyText(found).toUtf8());
    if (!options.reportFile.isEmpty()) {
        run.ended = QDateTime::currentDateTimeUtc();
        run.signal = interrupt_flag::Signal();
        run.exitStatus = status;
        if (!WriteReport(options.reportFile, VerifyJson(found, run), terminal, kVerify) &&
            status == kExitSuccess) {
            status = kExitIncomplete;
        }
    }
    return status;
}

}  // namespace quorvex
