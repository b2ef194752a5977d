#include "cli/send_command.h"

#include "cli/command_line_fields.h"
#include "cli/exit_status.h"
#include "cli/held_pointer.h"
#include "cli/interrupt_flag.h"
#include "cli/memory_table_list.h"
#include "cli/progress_line.h"
#include "cli/summary_report.h"
#include "cli/table_sides.h"
#include "cli/terminal_dialogs.h"
#include "cli/transfer_summary.h"
#include "transfer/send_tables.h"

#include <QSaveFile>

#include <unistd.h>

namespace quorvex {

namespace {

// Selects the entries the names stand for (ignoring case, as table files are found), every entry
// when no name is given. A name that stands for no entry is told and counted in the summary.
// Returns the names selected, in the list's order.
QStringList SelectTables(MemoryTableList& paradox, const QStringList& names, const QString& folder,
                         TransferSummary& summary, Terminal& terminal) {
    for (int i = 0; i < paradox.ListCount(); ++i) {
        paradox.SetSelected(i, names.isEmpty());
    }
    for (const QString& name : names) {
        bool found = false;
        for (int i = 0; i < paradox.ListCount(); ++i) {
            if (paradox.List(i).compare(name, Qt::CaseInsensitive) == 0) {
                paradox.SetSelected(i, true);
                found = true;
            }
        }
        if (!found) {
            terminal.Message(
                QStringLiteral("quorvex send: no Paradox table named %1 in %2.").arg(name, folder));
            summary.AddNotFound(name);
        }
    }
    QStringList selected;
    for (int i = 0; i < paradox.ListCount(); ++i) {
        if (paradox.Selected(i)) {
            if (selected.isEmpty()) {
                paradox.SetListIndex(i);  // the command starts from a current entry
            }
            selected.append(paradox.List(i));
        }
    }
    return selected;
}

bool WriteReport(const QString& file, const QByteArray& json, Terminal& terminal) {
    QSaveFile report(file);
    if (report.open(QIODevice::WriteOnly) && report.write(json) == json.size() && report.commit()) {
        return true;
    }
    terminal.Message(QStringLiteral("quorvex send: the report could not be written to %1: %2")
                         .arg(file, report.errorString()));
    return false;
}

// 130 after Ctrl+C; 2 when a name stood for no table; 1 when a row did not arrive or anything
// was reported; else 0.
int ExitStatusOf(const TransferSummary& summary, const TerminalDialogs& dialogs) {
    if (interrupt_flag::Raised()) {
        return kExitInterrupted;
    }
    if (summary.Count(SentTable::Fate::NotFound) > 0) {
        return kExitUsage;
    }
    if (!summary.EveryRowArrived() || dialogs.Reports() > 0 || dialogs.Messages() > 0) {
        return kExitIncomplete;
    }
    return kExitSuccess;
}

}  // namespace

int RunSend(const CommandLineOptions& options, Terminal& terminal) {
    if (!options.overwriteAnswer && !Terminal::CanAsk()) {
        terminal.Message(QStringLiteral(
            "quorvex send: there is no terminal to ask whether a table already in Oracle may be "
            "overwritten: give --overwrite or --keep."));
        return kExitUsage;
    }
    CommandLineFields fields(options);
    if (const std::optional<int> status = ReadyToStart(fields, true, true, terminal)) {
        return *status;
    }
    MemoryTableList oracle;
    MemoryTableList paradox;
    if (!ListOracleSide(oracle, fields, terminal) || !ListParadoxSide(paradox, fields, terminal)) {
        return kExitIncomplete;
    }

    TransferSummary summary;
    const QStringList selected =
        SelectTables(paradox, options.tables, fields.Text1(), summary, terminal);
    if (selected.isEmpty() && options.tables.isEmpty()) {
        terminal.Message(
            QStringLiteral("quorvex send: %1 holds no Paradox tables.").arg(fields.Text1()));
        return kExitIncomplete;
    }

    // A question left by Ctrl+C answers No without the user's word: that table was not kept.
    TerminalDialogs dialogs(terminal, options.overwriteAnswer, [&summary](int answer) {
        if (answer == vbNo && !interrupt_flag::Raised()) {
            summary.CurrentTableKept();
        }
    });
    if (!selected.isEmpty() && !interrupt_flag::Raised()) {
        ProgressLine progress(terminal, summary, Terminal::ShowsLinesInPlace());
        HeldPointer pointer;
        StopRequest stop;
        TablesScreen screen{oracle, paradox, progress, pointer, dialogs, fields, &stop, &summary};
        interrupt_flag::StopOnInterrupt(&stop);
        SendTablesToOracle(screen);
        interrupt_flag::StopOnInterrupt(nullptr);
        terminal.KeepLineInPlace();
    }
    summary.AddUnreached(selected);

    int status = ExitStatusOf(summary, dialogs);
    WriteAll(STDOUT_FILENO, SummaryText(summary).toUtf8());
    if (!options.reportFile.isEmpty() &&
        !WriteReport(options.reportFile, SummaryJson(summary, status == kExitInterrupted, status),
                     terminal) &&
        status == kExitSuccess) {
        status = kExitIncomplete;
    }
    return status;
}

}  // namespace quorvex
