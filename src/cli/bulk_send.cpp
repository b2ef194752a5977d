#include "cli/bulk_send.h"

#include "cli/connected_jobs.h"
#include "cli/interrupt_flag.h"
#include "cli/job_progress.h"
#include "cli/progress_line.h"
#include "cli/terminal_dialogs.h"
#include "shell/command_steps.h"
#include "transfer/bulk_table_copy.h"
#include "transfer/list_procedures.h"
#include "transfer/send_tables.h"

#include <QElapsedTimer>
#include <QSet>

#include <functional>
#include <mutex>

namespace quorvex {

namespace {

using Outcome = BulkTableResult::Outcome;

// What becomes of each chosen table: sent (its Oracle table dropped first when it may be
// overwritten) or kept, which is recorded at once.
struct Plan {
    QStringList toSend;
    QSet<QString> dropFirst;
};

// Settles every table already in Oracle before any job starts, so that no question is asked
// while tables are being sent: the options answer, or the terminal, in the list's order.
Plan PlanTables(const CommandLineOptions& options, const QStringList& chosen,
                const TableList& oracle, const std::map<QString, KeptTable>& kept,
                TransferSummary& summary, Terminal& terminal) {
    std::optional<KeptTable> counted;
    TerminalDialogs dialogs(terminal, [&] { return AnswerForExisting(options.existing, counted); });
    Plan plan;
    for (const QString& table : chosen) {
        if (!ListContains(oracle, table)) {
            plan.toSend.append(table);
            continue;
        }
        const auto found = kept.find(table);
        counted = found != kept.end() ? std::optional<KeptTable>(found->second) : std::nullopt;
        const int answer = dialogs.MsgBox(OverwriteQuestion(table), vbYesNo, kOverwriteTitle);
        if (interrupt_flag::Raised()) {
            break;  // a question cut short keeps nothing: the table was not reached
        }
        if (answer == vbYes) {
            plan.toSend.append(table);
            plan.dropFirst.insert(table);
            continue;
        }
        SentTable record{table, SentTable::Fate::Kept};
        record.kept = counted;
        record.paradoxRows = counted ? counted->paradoxRows : std::nullopt;
        summary.AddTable(record);
    }
    return plan;
}

// Follows one table's copy: its progress line, and each row that is not in Oracle as it was read.
class TableObserver : public BulkObserver {
  public:
    TableObserver(const QString& table, JobProgress& progress,
                  std::function<void(const RowProblem&)> notWhole)
        : table_(table), progress_(progress), notWhole_(std::move(notWhole)) {}

    void RowsToCopy(std::int64_t rowCount) override { progress_.RowCount(table_, rowCount); }
    void RowsSent(std::int64_t rowsRead, std::int64_t) override {
        progress_.Rows(table_, rowsRead);
    }
    void RowNotWhole(const RowProblem& row) override {
        // The rows stored with NULL for a number are told at the table's end: the first problem
        // is that of the first such row in the table, as the row-by-row send has it.
        if (firstProblem_.isEmpty() || row.rowNumber < firstProblemRow_) {
            firstProblem_ = row.message;
            firstProblemRow_ = row.rowNumber;
        }
        notWhole_(row);
    }
    const QString& FirstProblem() const { return firstProblem_; }

  private:
    QString table_;
    JobProgress& progress_;
    std::function<void(const RowProblem&)> notWhole_;
    QString firstProblem_;
    std::int64_t firstProblemRow_ = 0;
};

// The summary's record of a table sent in bulk. A row stored with NULL for a number Oracle cannot
// hold counts as refused, as in the row-by-row send.
SentTable RecordOf(const QString& table, const BulkTableResult& result, const QString& firstProblem,
                   double seconds) {
    SentTable record{table, SentTable::Fate::Copied};
    record.seconds = seconds;
    if (result.paradoxRows >= 0) {
        record.paradoxRows = result.paradoxRows;
    }
    record.refused = result.refused + result.storedWithNull;
    record.firstRefusal = firstProblem;
    record.leftBehind = result.tableLeftBehind;
    const QString where =
        result.tableLeftBehind
            ? QStringLiteral(
                  "no row was committed, but an empty table of that name may stand in "
                  "Oracle: --resume sends it again")
            : QStringLiteral("not in Oracle");
    switch (result.outcome) {
        case Outcome::Complete:
            record.arrived = result.arrived - result.storedWithNull;
            break;
        case Outcome::Stopped:
            record.fate = SentTable::Fate::RolledBack;
            record.note = result.rowsRead == 0
                              ? QStringLiteral("stopped before its rows were sent")
                              : QStringLiteral("stopped after %1 of %2 rows; %3")
                                    .arg(QString::number(result.rowsRead),
                                         QString::number(result.paradoxRows), where);
            break;
        case Outcome::Failed:
            record.fate = SentTable::Fate::RolledBack;
            record.note = QStringLiteral("%1 after %2 of %3 rows; %4")
                              .arg(result.failure.simplified(), QString::number(result.rowsRead),
                                   QString::number(result.paradoxRows), where);
            break;
        case Outcome::NotCreated:
            record.fate = SentTable::Fate::NotCopied;
            record.note = result.failure.simplified();
            break;
    }
    return record;
}

// What the jobs share, each use under the lock: the summary and the rejects file.
class SharedRecords {
  public:
    SharedRecords(TransferSummary& summary, RejectsFile* rejects, JobProgress& progress,
                  const BulkSendHooks& hooks)
        : summary_(summary), rejects_(rejects), progress_(progress), hooks_(hooks) {}

    const BulkSendHooks& Hooks() const { return hooks_; }

    void RowNotWhole(const RowProblem& row) {
        if (hooks_.rowNotWhole) {
            hooks_.rowNotWhole(row);
        }
        if (rejects_ != nullptr) {
            const std::lock_guard guard(lock_);
            rejects_->Write(row);
        }
    }

    void TableDone(const SentTable& record, const BulkTableResult& result) {
        {
            const std::lock_guard guard(lock_);
            summary_.AddTable(record);
        }
        if (!result.dropFailure.isEmpty()) {
            progress_.Report(QStringLiteral("%1: the table in Oracle could not be dropped: %2")
                                 .arg(record.name, result.dropFailure));
        }
        if (!result.failure.isEmpty()) {
            progress_.Report(record.name + QStringLiteral(": ") + result.failure);
        }
        progress_.Ended(record.name, FinishedText(record, record.seconds));
    }

  private:
    std::mutex lock_;
    TransferSummary& summary_;
    RejectsFile* rejects_;
    JobProgress& progress_;
    const BulkSendHooks& hooks_;
};

// Sends one table with a job's connections; false when the connection was lost.
bool SendOne(BulkConnections& own, const QString& table, const StopRequest& stop, bool dropFirst,
             JobProgress& progress, SharedRecords& records) {
    progress.Started(table);
    TableObserver observer(table, progress,
                           [&records](const RowProblem& row) { records.RowNotWhole(row); });
    BulkTableCopy copy{own.oracle, own.paradox, table, &observer, &stop};
    copy.rules = own.rules;
    copy.dropFirst = dropFirst;
    if (records.Hooks().beforeSend) {
        try {
            records.Hooks().beforeSend(own.oracle, table);
        } catch (const std::exception& failure) {
            progress.Report(QStringLiteral("%1: the ledger could not be written: %2")
                                .arg(table, CommandSteps::Describe(failure).simplified()));
        }
    }
    if (records.Hooks().beforeCommit) {
        copy.beforeCommit = [&](const BulkTableResult& result) {
            records.Hooks().beforeCommit(own.oracle, table, result);
        };
    }
    QElapsedTimer clock;
    clock.start();
    const BulkTableResult result = copy.Run();
    records.TableDone(RecordOf(table, result, observer.FirstProblem(), clock.elapsed() / 1000.0),
                      result);
    return !result.connectionLost;
}

}  // namespace

int SendInBulk(const CommandLineOptions& options, const ConnectionFields& fields,
               const QStringList& chosen, const TableList& oracle,
               const std::map<QString, KeptTable>& kept, TransferSummary& summary,
               RejectsFile* rejects, const BulkSendHooks& hooks, Terminal& terminal) {
    const Plan plan = PlanTables(options, chosen, oracle, kept, summary, terminal);
    if (interrupt_flag::Raised()) {
        return 0;
    }
    JobProgress progress(terminal, Terminal::ShowsLinesInPlace(), QStringLiteral("send"));
    SharedRecords records(summary, rejects, progress, hooks);
    RunConnectedJobs(fields, plan.toSend, options.jobs, progress,
                     [&](BulkConnections& own, const QString& table, const StopRequest& stop) {
                         return SendOne(own, table, stop, plan.dropFirst.contains(table), progress,
                                        records);
                     });
    return progress.Reports();
}

}  // namespace quorvex
