#include "cli/dry_run.h"

#include "cli/exit_status.h"
#include "cli/interrupt_flag.h"
#include "cli/text_table.h"
#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "data/core/connection_strings.h"
#include "shell/command_steps.h"
#include "transfer/table_check.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <vector>

#include <unistd.h>

namespace quorvex {

namespace {

QByteArray DryRunJson(const std::vector<CheckedTable>& tables, const RunRecord& run) {
    QJsonArray entries;
    for (const CheckedTable& table : tables) {
        QJsonObject entry;
        entry.insert(QStringLiteral("table"), table.name);
        entry.insert(QStringLiteral("sourceFile"), table.sourceFile);
        entry.insert(QStringLiteral("action"), table.action);
        entry.insert(QStringLiteral("paradoxRows"),
                     table.paradoxRows ? QJsonValue(qint64(*table.paradoxRows)) : QJsonValue());
        entry.insert(QStringLiteral("refused"), qint64(table.refusedRows));
        entry.insert(QStringLiteral("wouldArriveWhole"), table.Whole());
        entry.insert(QStringLiteral("problems"), table.Problems());
        entries.append(entry);
    }
    QJsonObject report = RunJson(run);
    report.insert(QStringLiteral("dryRun"), true);
    report.insert(QStringLiteral("tables"), entries);
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

}  // namespace

int RunDryRun(const CommandLineOptions& options, const CommandLineFields& fields,
              const FolderTables& folder, const QStringList& chosen, const TableList& oracle,
              const std::map<QString, KeptTable>& kept, RunRecord run, Terminal& terminal) {
    Connection paradox;
    paradox.SetCursorLocation(adUseClient);
    try {
        paradox.Open(ParadoxConnectionString(fields));
    } catch (const std::exception& failure) {
        terminal.Message(QStringLiteral("quorvex send: ") + CommandSteps::Describe(failure));
        return kExitIncomplete;
    }
    // Names are checked against what this server takes: its name limits and character set. The
    // Oracle side was listed already; a server that will not say keeps the send's own defaults.
    OracleDatabaseRules rules;
    try {
        Connection server;
        server.Open(OracleConnectionString(fields));
        ReadOracleDatabaseRules(server, rules);
    } catch (const std::exception&) {
        // the defaults stand, as they do for a send on such a server
    }
    std::vector<CheckedTable> tables;
    for (const QString& name : chosen) {
        if (interrupt_flag::Raised()) {
            break;
        }
        CheckedTable table;
        table.name = name;
        table.sourceFile = folder.FindOwn(name)->sourceFile;
        table.readName = folder.ReadName(name);
        const auto found = kept.find(name);
        if (found != kept.end()) {
            table.kept = found->second;
            table.paradoxRows = found->second.paradoxRows;
        }
        table.action = ActionFor(name, oracle, options.existing, table.kept);
        if (table.action != QLatin1String("keep")) {
            CheckTableRows(
                table, paradox, rules, ReadingOptions(options),
                [] { return interrupt_flag::Raised(); }, options.native);
        }
        tables.push_back(table);
    }
    if (options.tables.isEmpty()) {
        for (const FolderTable& below : folder.InSubfolders()) {
            CheckedTable table;
            table.name = folder.RelativeName(below);
            table.sourceFile = below.sourceFile;
            table.action = QStringLiteral("leave it");
            table.notSent = folder.SubfolderHint(below, QStringLiteral("send"));
            table.inSubfolder = true;
            tables.push_back(table);
        }
    }

    std::vector<QStringList> rows{{QStringLiteral("Table"), QStringLiteral("Paradox rows"),
                                   QStringLiteral("Refused"), QStringLiteral("A send would")}};
    int whole = 0;
    for (const CheckedTable& table : tables) {
        const QString problems = table.Problems();
        rows.push_back(
            {table.name,
             table.paradoxRows ? QString::number(*table.paradoxRows) : QStringLiteral("-"),
             QString::number(table.refusedRows),
             table.action + (problems.isEmpty() ? QString() : QStringLiteral(": ") + problems)});
        whole += table.Whole() && !table.inSubfolder ? 1 : 0;
    }
    const int status = interrupt_flag::Raised() ? kExitSignalBase + interrupt_flag::Signal()
                       : whole == static_cast<int>(chosen.size()) ? kExitSuccess
                                                                  : kExitIncomplete;
    WriteAll(STDOUT_FILENO,
             (TextTable(rows) +
              QStringLiteral("Dry run, nothing changed: %1 of %2 tables would arrive whole.\n")
                  .arg(QString::number(whole), QString::number(chosen.size())))
                 .toUtf8());
    if (!options.reportFile.isEmpty()) {
        run.ended = QDateTime::currentDateTimeUtc();
        run.signal = interrupt_flag::Signal();
        run.exitStatus = status;
        if (!WriteReport(options.reportFile, DryRunJson(tables, run), terminal)) {
            return status == kExitSuccess ? kExitIncomplete : status;
        }
    }
    return status;
}

}  // namespace quorvex
