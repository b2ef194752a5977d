#include "cli/dry_run.h"

#include "cli/exit_status.h"
#include "cli/interrupt_flag.h"
#include "cli/text_table.h"
#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "data/access/oracle_database_rules.h"
#include "shell/command_steps.h"
#include "transfer/create_table_statement.h"
#include "transfer/list_procedures.h"
#include "transfer/quoted_name.h"
#include "transfer/value_text.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <vector>

#include <unistd.h>

namespace quorvex {

namespace {

const QString kTextColumn = QStringLiteral("NVARCHAR2(2000)");
constexpr qsizetype kLongestColumnText = 2000;
// The magnitudes Oracle refuses: NUMBER holds less than 1E126, and INT and DECIMAL columns
// (NUMBER(38)) less than 1E38.
constexpr double kLargestNumber = 1e126;
constexpr double kLargestInteger = 1e38;

// One kind of value Oracle would refuse, with how many rows hold it and where it is first met.
struct Refusal {
    QString kind;
    std::int64_t rows = 0;
    std::int64_t firstRow = 0;
    QString firstField;
    std::int64_t lastRow = 0;
};

struct CheckedTable {
    QString name;
    QString sourceFile;
    QString action;
    std::optional<std::int64_t> paradoxRows;
    std::int64_t refusedRows = 0;
    std::vector<Refusal> refusals;
    QString notSent;  // why no row at all would arrive: an unreadable table, a name refused
    std::optional<KeptTable> kept;

    bool Whole() const {
        if (action == QLatin1String("keep")) {
            return kept && kept->Complete();
        }
        return notSent.isEmpty() && refusedRows == 0;
    }
    QString Problems() const {
        QStringList problems;
        if (!notSent.isEmpty()) {
            problems.append(notSent.simplified());
        }
        if (action == QLatin1String("keep") && kept && !kept->Complete()) {
            problems.append(kept->Describe());
        }
        for (const Refusal& refusal : refusals) {
            problems.append(QStringLiteral("%1 in %2 row%3 (first: row %4, field %5)")
                                .arg(refusal.kind, QString::number(refusal.rows),
                                     refusal.rows == 1 ? QString() : QStringLiteral("s"),
                                     QString::number(refusal.firstRow), refusal.firstField));
        }
        return problems.join(QStringLiteral("; "));
    }
};

// What Oracle would refuse in one value of a column of that type; empty when nothing.
QString RefusalOf(const Value& value, const QString& columnType, const OracleDatabaseRules& rules) {
    if (const QString unheld = NumberOracleCannotHold(value); !unheld.isEmpty()) {
        return QStringLiteral("numbers Oracle cannot store (%1, sent as NULL)").arg(unheld);
    }
    if (columnType == kTextColumn) {
        const QString text = ValueText(value);
        if (text.size() > kLongestColumnText) {
            return QStringLiteral("texts over 2,000 characters for NVARCHAR2(2000)");
        }
        // Within 2,000 characters, but over the 4,000 bytes of an NVARCHAR2 in a national
        // character set of up to three bytes a character (UTF8).
        return rules.nationalTextRefusal(text).isEmpty()
                   ? QString()
                   : QStringLiteral(
                         "texts over 4,000 bytes in the national character set %1 "
                         "for NVARCHAR2(2000)")
                         .arg(rules.nationalCharacterSet);
    }
    if (value.kind() == Value::Kind::Double && columnType != QLatin1String("BLOB")) {
        const double limit =
            columnType == QLatin1String("FLOAT") ? kLargestNumber : kLargestInteger;
        if (std::fabs(value.toDouble()) >= limit) {
            return QStringLiteral("numbers too large for %1").arg(columnType);
        }
    }
    return QString();
}

void Note(CheckedTable& table, const QString& kind, std::int64_t row, const QString& field) {
    for (Refusal& refusal : table.refusals) {
        if (refusal.kind == kind) {
            refusal.rows += refusal.lastRow == row ? 0 : 1;
            refusal.lastRow = row;
            return;
        }
    }
    table.refusals.push_back({kind, 1, row, field, row});
}

// The column types a send would create, by field; a name the send would refuse (a double
// quote, longer than the server takes, a character its set cannot hold: the send's own rule)
// leaves `refused` set instead.
std::vector<QString> ColumnTypes(Recordset& source, const OracleDatabaseRules& rules,
                                 std::vector<QString>& names, QString& refused) {
    std::vector<QString> types;
    for (int i = 0; i < source.FieldCount(); ++i) {
        names.push_back(source.FieldName(i));
        types.push_back(
            ChooseColumnType(LowerCaseTypeName(TypeCodeAsInt16(source.FieldType(i)))).word);
        try {
            QuotedFieldName(names.back(), rules);
        } catch (const std::exception& failure) {
            refused = CommandSteps::Describe(failure);
        }
    }
    return types;
}

// Reads the table to its end as a send would, noting what Oracle would refuse.
void CheckRows(CheckedTable& table, Connection& paradox, const OracleDatabaseRules& rules) {
    try {
        QuotedTableName(table.name, rules);
    } catch (const std::exception& failure) {
        table.notSent = CommandSteps::Describe(failure);
        return;
    }
    Recordset source;
    try {
        source.Open(SelectAllStatement(table.name), paradox);
        table.paradoxRows = source.RecordCount();
        std::vector<QString> names;
        const std::vector<QString> types = ColumnTypes(source, rules, names, table.notSent);
        if (!table.notSent.isEmpty()) {
            return;
        }
        for (std::int64_t row = 1; row <= *table.paradoxRows && !interrupt_flag::Raised(); ++row) {
            bool refused = false;
            for (std::size_t i = 0; i < names.size(); ++i) {
                const QString kind =
                    RefusalOf(source.FieldValue(static_cast<int>(i)), types[i], rules);
                if (!kind.isEmpty()) {
                    Note(table, kind, row, names[i]);
                    refused = true;
                }
            }
            table.refusedRows += refused ? 1 : 0;
            source.MoveNext();
        }
    } catch (const std::exception& failure) {
        table.notSent = QStringLiteral("cannot be read: ") + CommandSteps::Describe(failure);
    }
}

QString Action(const QString& name, const TableList& oracle, CommandLineOptions::Existing existing,
               const std::optional<KeptTable>& kept) {
    if (!ListContains(oracle, name)) {
        return QStringLiteral("create");
    }
    switch (existing) {
        case CommandLineOptions::Existing::Overwrite:
            return QStringLiteral("drop and send again");
        case CommandLineOptions::Existing::Keep:
            return QStringLiteral("keep");
        case CommandLineOptions::Existing::Resume:
            return kept && kept->Complete() ? QStringLiteral("keep")
                                            : QStringLiteral("drop and send again");
        case CommandLineOptions::Existing::Ask:
            break;
    }
    return QStringLiteral("ask whether to overwrite");
}

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
        Connection oracle;
        oracle.Open(OracleConnectionString(fields));
        ReadOracleDatabaseRules(oracle, rules);
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
        const auto found = kept.find(name);
        if (found != kept.end()) {
            table.kept = found->second;
            table.paradoxRows = found->second.paradoxRows;
        }
        table.action = Action(name, oracle, options.existing, table.kept);
        if (table.action != QLatin1String("keep")) {
            CheckRows(table, paradox, rules);
        }
        tables.push_back(table);
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
        whole += table.Whole() ? 1 : 0;
    }
    const int status = interrupt_flag::Raised() ? kExitSignalBase + interrupt_flag::Signal()
                       : whole == static_cast<int>(tables.size()) ? kExitSuccess
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
