#include "cli/send_command.h"

#include "cli/bulk_send.h"
#include "cli/command_line_fields.h"
#include "cli/command_tables.h"
#include "cli/dry_run.h"
#include "cli/exit_status.h"
#include "cli/held_pointer.h"
#include "cli/interrupt_flag.h"
#include "cli/memory_table_list.h"
#include "cli/progress_line.h"
#include "cli/rejects_file.h"
#include "cli/run_ledger.h"
#include "cli/send_ledger.h"
#include "cli/summary_report.h"
#include "cli/terminal_dialogs.h"
#include "shell/table_listing.h"
#include "transfer/kept_tables.h"
#include "transfer/send_tables.h"
#include "transfer/transfer_summary.h"

#include <functional>

#include <unistd.h>

namespace quorvex {

namespace {

const QString kSend = QStringLiteral("send");

int Usage(const QString& problem, Terminal& terminal) {
    terminal.Message(QStringLiteral("quorvex send: ") + problem);
    return kExitUsage;
}

// Selects the folder's own entry of each chosen name (a subfolder may list a namesake), of the
// chosen file where the folder holds the name in two; the first becomes the current entry, from
// which the command starts.
void SelectTables(MemoryTableList& paradox, const FolderTables& folder, const QStringList& chosen) {
    QStringList left = chosen;
    for (int i = 0; i < paradox.ListCount(); ++i) {
        const QString name = paradox.List(i);
        const bool chosenFile = paradox.ItemData(i) < kFirstTwinFileMark ||
                                paradox.ItemData(i) == TwinFileMark(folder.ReadName(name));
        const bool select = !ListedFromSubfolder(paradox, i) && chosenFile && left.removeOne(name);
        paradox.SetSelected(i, select);
        if (select && paradox.ListIndex() == -1) {
            paradox.SetListIndex(i);
        }
    }
}

// 128 + the signal after one; 1 when a row did not arrive whole, a kept table is incomplete,
// anything was reported or a refused row could not be recorded; else 0.
int ExitStatusOf(const TransferSummary& summary, int reports, const RejectsFile& rejects) {
    if (interrupt_flag::Raised()) {
        return kExitSignalBase + interrupt_flag::Signal();
    }
    if (!summary.EveryRowArrived() || reports > 0 || !rejects.ErrorString().isEmpty()) {
        return kExitIncomplete;
    }
    return kExitSuccess;
}

// Runs "Send Table/s To Oracle" on the chosen tables, with the window's overwrite question
// answered by the options or on the terminal; returns how many failures and messages it told.
int SendRowByRow(const CommandLineOptions& options, const CommandLineFields& fields,
                 const FolderTables& folder, const QStringList& chosen, MemoryTableList& oracle,
                 const std::map<QString, KeptTable>& kept, TransferSummary& summary,
                 const std::function<void(const QString&)>& changing, Terminal& terminal) {
    const auto keptCount = [&kept, &summary]() -> std::optional<KeptTable> {
        const SentTable* current = summary.Current();
        const auto found = current != nullptr ? kept.find(current->name) : kept.end();
        return found != kept.end() ? std::optional<KeptTable>(found->second) : std::nullopt;
    };
    // A question left by a signal answers No without the user's word: that table was not kept.
    TerminalDialogs dialogs(
        terminal, [&] { return AnswerForExisting(options.existing, keptCount()); },
        [&](int answer) {
            if (answer == vbNo && !interrupt_flag::Raised()) {
                summary.CurrentTableKept(keptCount());
            } else if (answer == vbYes && summary.Current() != nullptr) {
                changing(summary.Current()->name);  // before its DROP TABLE
            }
        },
        [&summary](const QString& description) { summary.CurrentTableReported(description); });

    MemoryTableList paradox;
    folder.FillList(paradox);
    SelectTables(paradox, folder, chosen);
    if (!interrupt_flag::Raised()) {
        ProgressLine progress(terminal, summary, Terminal::ShowsLinesInPlace());
        HeldPointer pointer;
        StopRequest stop;
        TablesScreen screen{oracle, paradox, progress, pointer, dialogs, fields, &stop, &summary};
        screen.paradoxCodePage = options.codePage;
        interrupt_flag::StopOnInterrupt(&stop);
        SendTablesToOracle(screen);
        interrupt_flag::StopOnInterrupt(nullptr);
        terminal.KeepLineInPlace();
    }
    return dialogs.Reports() + dialogs.Messages();
}

// Sends the chosen tables, row by row or in bulk, then prints the summary and writes the report;
// returns the exit status.
int Send(const CommandLineOptions& options, const CommandLineFields& fields,
         const FolderTables& folder, const QStringList& chosen, MemoryTableList& oracle,
         const std::map<QString, KeptTable>& kept, MigrationLedger& ledger, RunRecord run,
         Terminal& terminal) {
    RejectsFile rejects;
    if (!options.rejectsFile.isEmpty() &&
        !rejects.Open(options.rejectsFile, [] { interrupt_flag::StopRunning(); })) {
        return Usage(
            QStringLiteral("--rejects %1: %2.").arg(options.rejectsFile, rejects.ErrorString()),
            terminal);
    }
    std::optional<SendLedger> entries;
    TransferSummary summary([&](const QString& table, const SentRow& row) {
        entries->RowNotWhole(table, row);
        if (!options.rejectsFile.isEmpty()) {
            rejects.Write(table, row);
        }
    });
    for (const FolderTable& table : folder.Own()) {
        summary.SetSourceFile(table.name, table.sourceFile);
    }
    entries.emplace(ledger, summary.SourceFiles(), options.rejectsFile, terminal);
    const std::function<void(const QString&)> changing = [&](const QString& table) {
        entries->Changing(table);
    };
    summary.OnRowsStarting(changing);
    summary.OnTableClosed([&](const SentTable& table) { entries->TableClosed(table); });
    if (options.tables.isEmpty()) {
        for (const FolderTable& table : folder.InSubfolders()) {
            summary.AddInSubfolder(folder.RelativeName(table), table.sourceFile,
                                   folder.SubfolderHint(table, kSend));
        }
    }
    const int reports = options.bulk || options.native
                            ? SendInBulk(options, fields, folder, chosen, oracle, kept, summary,
                                         options.rejectsFile.isEmpty() ? nullptr : &rejects,
                                         entries->BulkHooks(), terminal)
                            : SendRowByRow(options, fields, folder, chosen, oracle, kept, summary,
                                           changing, terminal);
    summary.AddUnreached(chosen);
    if (!rejects.Close().isEmpty()) {
        terminal.Message(QStringLiteral("quorvex send: refused rows could not be written to %1: "
                                        "%2; the send stopped there")
                             .arg(options.rejectsFile, rejects.ErrorString()));
    }

    int status = ExitStatusOf(summary, reports + entries->Failures(), rejects);
    WriteAll(STDOUT_FILENO, SummaryText(summary).toUtf8());
    if (!options.reportFile.isEmpty()) {
        run.ended = QDateTime::currentDateTimeUtc();
        run.signal = interrupt_flag::Signal();
        run.exitStatus = status;
        if (ledger.Taken()) {
            run.ledgerRun = ledger.Run().id;
        }
        if (!WriteReport(options.reportFile, SummaryJson(summary, run), terminal) &&
            status == kExitSuccess) {
            status = kExitIncomplete;
        }
    }
    return status;
}

}  // namespace

int RunSend(const CommandLineOptions& options, Terminal& terminal) {
    RunRecord run;
    run.started = QDateTime::currentDateTimeUtc();
    // Everything given is checked before anything is changed: a wrong option, name, folder,
    // path or login ends the run with one line and status 2.
    CommandLineFields fields(options);
    const QString unaskable =
        !options.dryRun && options.existing == CommandLineOptions::Existing::Ask &&
                !Terminal::CanAsk()
            ? QStringLiteral(
                  "there is no terminal to ask whether a table already in Oracle may "
                  "be overwritten: give --overwrite, --keep or --resume.")
            : QString();
    CommandTables tables;
    if (const std::optional<int> status =
            FindCommandTables(options, kSend, unaskable,
                              {{QStringLiteral("--report"), options.reportFile},
                               {QStringLiteral("--rejects"), options.rejectsFile}},
                              fields, tables, terminal)) {
        return *status;
    }
    const QStringList& chosen = tables.chosen;
    // One send at a time into a schema: the lock is held from before the first count or change
    // to the end.
    MigrationLedger ledger;
    if (!options.dryRun) {
        if (const std::optional<int> status =
                TakeLedger(ledger, fields, tables.oracle.Entries(), chosen, terminal)) {
            return *status;
        }
    }
    // Tables already in Oracle that a send may keep are counted on both sides first.
    std::map<QString, KeptTable> kept =
        options.existing == CommandLineOptions::Existing::Overwrite
            ? std::map<QString, KeptTable>{}
            : CountKeptTables(
                  chosen, tables.oracle, fields, ReadingOptions(options),
                  [&folder = *tables.folder](const QString& table) {
                      return folder.ReadName(table);
                  },
                  options.native);
    // What the ledger says of them: as sent, changed by hand since, or sent from another file.
    if (!kept.empty()) {
        std::map<QString, QString> sourceFiles;
        for (const FolderTable& table : tables.folder->Own()) {
            sourceFiles[table.name] = table.sourceFile;
        }
        JudgeByLedger(kept, ReadLedgerEntries(ledger, fields, tables.oracle.Entries(), terminal),
                      sourceFiles);
        for (const auto& [name, table] : kept) {
            if (options.existing == CommandLineOptions::Existing::Resume && table.standing &&
                table.standing->state == LedgerStanding::State::SourceChanged) {
                terminal.Message(QStringLiteral("quorvex send: %1: %2; --resume sends it again.")
                                     .arg(name, table.standing->Describe(0)));
            }
        }
    }

    run.folder = fields.Text1();
    run.sid = fields.Text2();
    run.user = fields.Text3();
    if (options.dryRun) {
        return RunDryRun(options, fields, *tables.folder, chosen, tables.oracle, kept, run,
                         terminal);
    }
    const int status =
        Send(options, fields, *tables.folder, chosen, tables.oracle, kept, ledger, run, terminal);
    if (QString failure; !ledger.Close(status, &failure)) {
        terminal.Message(
            QStringLiteral("quorvex send: the end of this run could not be written to the "
                           "ledger: %1")
                .arg(failure.simplified()));
    }
    return status;
}

}  // namespace quorvex
