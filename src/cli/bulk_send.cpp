#include "cli/bulk_send.h"

#include "cli/connected_jobs.h"
#include "cli/interrupt_flag.h"
#include "cli/job_progress.h"
#include "cli/progress_line.h"
#include "cli/terminal_dialogs.h"
#include "shell/command_steps.h"
#include "transfer/bulk_send_plan.h"
#include "transfer/bulk_table_copy.h"
#include "transfer/list_procedures.h"
#include "transfer/send_tables.h"
#include "transfer/sent_value.h"

#include <QElapsedTimer>
#include <QSet>

#include <functional>
#include <mutex>

namespace quorvex {

namespace {

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
        const std::lock_guard guard(lock_);
        if (!row.stored && HoldsTextOverColumn(row.values)) {
            longTexts_.insert(row.table);
        }
        if (rejects_ != nullptr) {
            rejects_->Write(row);
        }
    }

    void TableDone(SentTable record, const BulkTableResult& result) {
        {
            const std::lock_guard guard(lock_);
            if (record.note.isEmpty() && longTexts_.contains(record.name)) {
                record.note = kNativeCarriesLongTexts;
            }
            summary_.AddTable(record);
        }
        if (!result.dropFailure.isEmpty()) {
            progress_.Report(QStringLiteral("%1: the table in Oracle could not be dropped: %2")
                                 .arg(record.name, result.dropFailure));
        }
        if (!result.failure.isEmpty()) {
            progress_.Report(record.name + QStringLiteral(": ") + result.failure);
        }
        for (const QString& problem : result.keyProblems) {
            progress_.Report(record.name + QStringLiteral(": ") + problem);
        }
        progress_.Ended(record.name, FinishedText(record, record.seconds));
    }

  private:
    std::mutex lock_;
    QSet<QString> longTexts_;  // tables with a refused text over 2,000 characters
    TransferSummary& summary_;
    RejectsFile* rejects_;
    JobProgress& progress_;
    const BulkSendHooks& hooks_;
};

// Sends one table with a job's connections; false when the connection was lost.
bool SendOne(BulkConnections& own, const QString& table, const QString& readName,
             const StopRequest& stop, bool dropFirst, const CommandLineOptions& options,
             JobProgress& progress, SharedRecords& records) {
    progress.Started(table);
    TableObserver observer(table, progress,
                           [&records](const RowProblem& row) { records.RowNotWhole(row); });
    BulkTableCopy copy{own.oracle, own.paradox, table, &observer, &stop};
    copy.rules = own.rules;
    copy.dropFirst = dropFirst;
    copy.paradoxOptions = ReadingOptions(options);
    copy.readName = readName;
    copy.native = options.native;
    copy.nativeLiterals = options.native && !options.bulk;  // the row-by-row form
    const auto hook = [&](const std::function<void(Connection&, const QString&)>& told) {
        if (!told) {
            return;
        }
        try {
            told(own.oracle, table);
        } catch (const std::exception& failure) {
            progress.Report(QStringLiteral("%1: the ledger could not be written: %2")
                                .arg(table, CommandSteps::Describe(failure).simplified()));
        }
    };
    hook(records.Hooks().beforeSend);
    if (records.Hooks().beforeCommit) {
        copy.beforeCommit = [&](const BulkTableResult& result) {
            records.Hooks().beforeCommit(own.oracle, table, result);
        };
    }
    QElapsedTimer clock;
    clock.start();
    const BulkTableResult result = copy.Run();
    if (result.outcome == BulkTableResult::Outcome::Complete && !result.connectionLost) {
        hook(records.Hooks().afterCommit);
    }
    records.TableDone(
        BulkRecordOf(table, result, observer.FirstProblem(), clock.elapsed() / 1000.0), result);
    return !result.connectionLost;
}

}  // namespace

int SendInBulk(const CommandLineOptions& options, const ConnectionFields& fields,
               const FolderTables& folder, const QStringList& chosen, const TableList& oracle,
               const std::map<QString, KeptTable>& kept, TransferSummary& summary,
               RejectsFile* rejects, const BulkSendHooks& hooks, Terminal& terminal) {
    std::optional<KeptTable> counted;
    TerminalDialogs dialogs(terminal, [&] { return AnswerForExisting(options.existing, counted); });
    const BulkSendPlan plan = PlanBulkSend(
        chosen, oracle, kept, summary,
        [&](const QString& table, const std::optional<KeptTable>& counts) {
            counted = counts;
            return dialogs.MsgBox(OverwriteQuestion(table), vbYesNo, kOverwriteTitle);
        },
        [] { return interrupt_flag::Raised(); });
    if (interrupt_flag::Raised()) {
        return 0;
    }
    JobProgress progress(terminal, Terminal::ShowsLinesInPlace(), QStringLiteral("send"));
    SharedRecords records(summary, rejects, progress, hooks);
    RunConnectedJobs(fields, plan.toSend, options.jobs, progress,
                     [&](BulkConnections& own, const QString& table, const StopRequest& stop) {
                         return SendOne(own, table, folder.ReadName(table), stop,
                                        plan.dropFirst.contains(table), options, progress, records);
                     });
    return progress.Reports();
}

}  // namespace quorvex
