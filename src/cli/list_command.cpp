#include "cli/list_command.h"

#include "cli/command_line_fields.h"
#include "cli/exit_status.h"
#include "cli/interrupt_flag.h"
#include "cli/table_sides.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

namespace quorvex {

namespace {

const QString kList = QStringLiteral("list");

// The names one per line; under a heading (the frame's caption on the tables screen), indented,
// when both sides are printed.
QString Section(const QStringList& names, const QString& heading, bool withHeading) {
    QString text = withHeading ? heading + QStringLiteral(":\n") : QString();
    for (const QString& name : names) {
        text += (withHeading ? QStringLiteral("  ") : QString()) + name + u'\n';
    }
    return text;
}

// {"table": "ORDERS98", "sourceFile": "/data/Archive/ORDERS98.DB", "inSubfolder": true}
QJsonArray ParadoxJson(const FolderTables& folder) {
    QJsonArray tables;
    // A table held in two files of the folder (T.DB and T.db) is listed once for each.
    const std::vector<FolderTable> own = folder.OwnFiles();
    for (const auto* side : {&own, &folder.InSubfolders()}) {
        for (const FolderTable& table : *side) {
            tables.append(QJsonObject{{QStringLiteral("table"), table.name},
                                      {QStringLiteral("sourceFile"), table.sourceFile},
                                      {QStringLiteral("inSubfolder"), side != &own}});
        }
    }
    return tables;
}

}  // namespace

int RunList(const CommandLineOptions& options, Terminal& terminal) {
    CommandLineFields fields(options);
    if (const std::optional<int> status =
            ReadyToStart(fields, options.listParadox, options.listOracle, kList, terminal)) {
        return *status;
    }
    if (options.listOracle) {
        if (const std::optional<int> status = PasswordFound(fields, kList, terminal)) {
            return *status;
        }
    }
    // Nothing is left to finish once the password is in: Ctrl+C may end the listing at once.
    interrupt_flag::Release();

    const bool both = options.listOracle && options.listParadox;
    int status = kExitSuccess;
    QString text;
    QJsonObject json;
    if (options.listOracle) {
        MemoryTableList oracle;
        if (ListOracleSide(oracle, fields, terminal)) {
            text += Section(oracle.Entries(), QStringLiteral("Oracle Tables"), both);
            json.insert(QStringLiteral("oracle"), QJsonArray::fromStringList(oracle.Entries()));
        } else {
            status = kExitIncomplete;
            json.insert(QStringLiteral("oracle"), QJsonValue());
        }
    }
    if (options.listParadox) {
        if (const std::optional<FolderTables> folder = ListParadoxSide(fields, terminal)) {
            MemoryTableList paradox;
            folder->FillList(paradox);
            text += (both ? QStringLiteral("\n") : QString()) +
                    Section(paradox.Entries(), QStringLiteral("Paradox Tables"), both);
            json.insert(QStringLiteral("paradox"), ParadoxJson(*folder));
        } else {
            status = kExitIncomplete;
            json.insert(QStringLiteral("paradox"), QJsonValue());
        }
    }
    WriteAll(STDOUT_FILENO,
             options.json ? QJsonDocument(json).toJson(QJsonDocument::Indented) : text.toUtf8());
    return status;
}

}  // namespace quorvex
