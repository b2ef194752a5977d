#include "cli/send_command.h"

#include "cli/command_line_fields.h"
#include "cli/dry_run.h"
#include "cli/exit_status.h"
#include "cli/held_pointer.h"
#include "cli/interrupt_flag.h"
#include "cli/kept_tables.h"
#include "cli/memory_table_list.h"
#include "cli/progress_line.h"
#include "cli/rejects_file.h"
#include "cli/summary_report.h"
#include "cli/table_sides.h"
#include "cli/terminal_dialogs.h"
#include "cli/transfer_summary.h"
#include "cli/writable_path.h"
#include "data/table_name_order.h"
#include "transfer/send_tables.h"

#include <algorithm>

#include <unistd.h>

namespace quorvex {

namespace {

const QString kSend = QStringLiteral("send");

int Usage(const QString& problem, Terminal& terminal) {
    terminal.Message(QStringLiteral("quorvex send: ") + problem);
    return kExitUsage;
}

// The folder's own tables the names stand for (ignoring case, as table files are found), each
// once, in the list's order; all of them when no name is given. A name that stands for none of
// them ends the run before anything is changed.
std::optional<int> ChooseTables(const FolderTables& folder, const QStringList& names,
                                const QString& folderField, QStringList& chosen,
                                Terminal& terminal) {
    if (names.isEmpty()) {
        for (const FolderTable& table : folder.Own()) {
            chosen.append(table.name);
        }
        return std::nullopt;
    }
    for (const QString& name : names) {
        if (const FolderTable* own = folder.FindOwn(name)) {
            if (!chosen.contains(own->name)) {
                chosen.append(own->name);
            }
        } else if (const FolderTable* below = folder.FindInSubfolder(name)) {
            return Usage(QStringLiteral("%1 is %2")
                             .arg(folder.RelativeName(*below), folder.SubfolderHint(*below)),
                         terminal);
        } else {
            return Usage(QStringLiteral("no Paradox table named %1 in %2.").arg(name, folderField),
                         terminal);
        }
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const QString& a, const QString& b) { return CompareTableNames(a, b) < 0; });
    return std::nullopt;
}

// Selects one entry of each chosen name; the first becomes the current entry, from which the
// command starts.
void SelectTables(MemoryTableList& paradox, const QStringList& chosen) {
    QStringList left = chosen;
    for (int i = 0; i < paradox.ListCount(); ++i) {
        const bool select = left.removeOne(paradox.List(i));
        paradox.SetSelected(i, select);
        if (select && paradox.ListIndex() == -1) {
            paradox.SetListIndex(i);
        }
    }
}

// The answer a table already in Oracle gets from the options; nullopt to ask on the terminal.
std::optional<int> PresetAnswer(CommandLineOptions::Existing existing,
                                const std::optional<KeptTable>& kept) {
    switch (existing) {
        case CommandLineOptions::Existing::Overwrite:
            return vbYes;
        case CommandLineOptions::Existing::Keep:
            return vbNo;
        case CommandLineOptions::Existing::Resume:
            return kept && kept->Complete() ? vbNo : vbYes;
        case CommandLineOptions::Existing::Ask:
            break;
    }
    return std::nullopt;
}

// 128 + the signal after one; 1 when a row did not arrive whole, a kept table is incomplete,
// anything was reported or a refused row could not be recorded; else 0.
int ExitStatusOf(const TransferSummary& summary, const TerminalDialogs& dialogs,
                 const RejectsFile& rejects) {
    if (interrupt_flag::Raised()) {
        return kExitSignalBase + interrupt_flag::Signal();
    }
    if (!summary.EveryRowArrived() || dialogs.Reports() > 0 || dialogs.Messages() > 0 ||
        !rejects.ErrorString().isEmpty()) {
        return kExitIncomplete;
    }
    return kExitSuccess;
}

// Runs "Send Table/s To Oracle" on the chosen tables, then prints the summary and writes the
// report; returns the exit status.
int Send(const CommandLineOptions& options, const CommandLineFields& fields,
         const FolderTables& folder, const QStringList& chosen, MemoryTableList& oracle,
         const std::map<QString, KeptTable>& kept, RunRecord run, Terminal& terminal) {
    RejectsFile rejects;
    if (!options.rejectsFile.isEmpty() && !rejects.Open(options.rejectsFile)) {
        return Usage(
            QStringLiteral("--rejects %1: %2.").arg(options.rejectsFile, rejects.ErrorString()),
            terminal);
    }
    TransferSummary summary([&](const QString& table, const SentRow& row) {
        if (!options.rejectsFile.isEmpty()) {
            rejects.Write(table, row);
        }
    });
    for (const FolderTable& table : folder.Own()) {
        summary.SetSourceFile(table.name, table.sourceFile);
    }
    if (options.tables.isEmpty()) {
        for (const FolderTable& table : folder.InSubfolders()) {
            summary.AddInSubfolder(folder.RelativeName(table), table.sourceFile,
                                   folder.SubfolderHint(table));
        }
    }
    const auto keptCount = [&kept, &summary]() -> std::optional<KeptTable> {
        const SentTable* current = summary.Current();
        const auto found = current != nullptr ? kept.find(current->name) : kept.end();
        return found != kept.end() ? std::optional<KeptTable>(found->second) : std::nullopt;
    };
    // A question left by a signal answers No without the user's word: that table was not kept.
    TerminalDialogs dialogs(
        terminal, [&] { return PresetAnswer(options.existing, keptCount()); },
        [&](int answer) {
            if (answer == vbNo && !interrupt_flag::Raised()) {
                summary.CurrentTableKept(keptCount());
            }
        });

    MemoryTableList paradox;
    folder.FillList(paradox);
    SelectTables(paradox, chosen);
    if (!interrupt_flag::Raised()) {
        ProgressLine progress(terminal, summary, Terminal::ShowsLinesInPlace());
        HeldPointer pointer;
        StopRequest stop;
        TablesScreen screen{oracle, paradox, progress, pointer, dialogs, fields, &stop, &summary};
        interrupt_flag::StopOnInterrupt(&stop);
        SendTablesToOracle(screen);
        interrupt_flag::StopOnInterrupt(nullptr);
        terminal.KeepLineInPlace();
    }
    summary.AddUnreached(chosen);
    if (!rejects.ErrorString().isEmpty()) {
        terminal.Message(QStringLiteral("quorvex send: refused rows could not be written to %1: %2")
                             .arg(options.rejectsFile, rejects.ErrorString()));
    }

    int status = ExitStatusOf(summary, dialogs, rejects);
    WriteAll(STDOUT_FILENO, SummaryText(summary).toUtf8());
    if (!options.reportFile.isEmpty()) {
        run.ended = QDateTime::currentDateTimeUtc();
        run.signal = interrupt_flag::Signal();
        run.exitStatus = status;
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
    if (const std::optional<int> status = ReadyToStart(fields, true, true, kSend, terminal)) {
        return *status;
    }
    if (!options.dryRun && options.existing == CommandLineOptions::Existing::Ask &&
        !Terminal::CanAsk()) {
        return Usage(QStringLiteral("there is no terminal to ask whether a table already in "
                                    "Oracle may be overwritten: give --overwrite, --keep or "
                                    "--resume."),
                     terminal);
    }
    for (const auto& [option, file] :
         {std::pair{QStringLiteral("--report"), options.reportFile},
          std::pair{QStringLiteral("--rejects"), options.rejectsFile}}) {
        if (const QString why = file.isEmpty() ? QString() : WhyNotWritable(file); !why.isEmpty()) {
            return Usage(QStringLiteral("%1: %2.").arg(option, why), terminal);
        }
    }
    const std::optional<FolderTables> folder = ListParadoxSide(fields, terminal);
    if (!folder) {
        return kExitIncomplete;
    }
    QStringList chosen;
    if (const std::optional<int> status =
            ChooseTables(*folder, options.tables, fields.Text1(), chosen, terminal)) {
        return *status;
    }
    if (chosen.isEmpty()) {
        terminal.Message(
            folder->InSubfolders().empty()
                ? QStringLiteral("quorvex send: %1 holds no Paradox tables.").arg(fields.Text1())
                : QStringLiteral("quorvex send: %1 holds no Paradox tables of its own; its "
                                 "subfolders do: give --folder for each (quorvex list --paradox "
                                 "--json names their folders).")
                      .arg(fields.Text1()));
        return kExitIncomplete;
    }
    if (const std::optional<int> status = PasswordFound(fields, kSend, terminal)) {
        return *status;
    }
    MemoryTableList oracle;
    if (!ListOracleSide(oracle, fields, terminal)) {
        return kExitIncomplete;
    }
    // Tables already in Oracle that a send may keep are counted on both sides first.
    const std::map<QString, KeptTable> kept =
        options.existing == CommandLineOptions::Existing::Overwrite
            ? std::map<QString, KeptTable>{}
            : CountKeptTables(chosen, oracle, fields);

    run.folder = fields.Text1();
    run.sid = fields.Text2();
    run.user = fields.Text3();
    if (options.dryRun) {
        return RunDryRun(options, fields, *folder, chosen, oracle, kept, run, terminal);
    }
    return Send(options, fields, *folder, chosen, oracle, kept, run, terminal);
}

}  // namespace quorvex
