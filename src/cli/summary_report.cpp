#include "cli/summary_report.h"

#include "cli/text_table.h"
#include "cli/whole_file.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <csignal>

namespace quorvex {

namespace {

QString Count(const SentTable& table, std::int64_t count) {
    return table.fate == SentTable::Fate::Copied || table.fate == SentTable::Fate::RolledBack
               ? QString::number(count)
               : QStringLiteral("-");
}

// The last column: the first refusal on one line, else what became of a table not copied whole.
QString Reason(const SentTable& table) {
    if (table.fate == SentTable::Fate::RolledBack) {
        return u'(' + table.Outcome() + QStringLiteral(": ") + table.note + u')';
    }
    if (!table.firstRefusal.isEmpty()) {
        return table.firstRefusal.simplified();
    }
    if (!table.note.isEmpty()) {
        return table.fate == SentTable::Fate::Copied
                   ? u'(' + table.Outcome() + QStringLiteral(": ") + table.note + u')'
                   : u'(' + table.note + u')';
    }
    if (table.fate == SentTable::Fate::Kept && table.kept &&
        (!table.kept->Complete() || table.kept->ChangedSince())) {
        return u'(' + table.Outcome() + QStringLiteral(": ") + table.kept->Describe() + u')';
    }
    return table.Whole() && table.fate != SentTable::Fate::Kept ? QString()
                                                                : u'(' + table.Outcome() + u')';
}

QString Arrived(const SentTable& table) {
    if (table.fate == SentTable::Fate::Kept && table.kept && table.kept->oracleRows) {
        return QString::number(*table.kept->oracleRows);  // what Oracle holds
    }
    return Count(table, table.arrived);
}

QJsonValue NullOr(const std::optional<std::int64_t>& count) {
    return count ? QJsonValue(qint64(*count)) : QJsonValue(QJsonValue::Null);
}

QJsonValue NullOr(const QString& text) {
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QString SignalName(int signal) {
    switch (signal) {
        case SIGINT:
            return QStringLiteral("SIGINT");
        case SIGTERM:
            return QStringLiteral("SIGTERM");
        case SIGHUP:
            return QStringLiteral("SIGHUP");
        default:
            return QString::number(signal);
    }
}

}  // namespace

QString SummaryText(const TransferSummary& summary) {
    const std::vector<SentTable> tables = summary.InListOrder();
    std::vector<QStringList> rows{{QStringLiteral("Table"), QStringLiteral("Paradox rows"),
                                   QStringLiteral("Arrived"), QStringLiteral("Refused"),
                                   QStringLiteral("First refusal")}};
    std::int64_t paradoxRows = 0;
    std::int64_t arrived = 0;
    int whole = 0;
    int counted = 0;
    int kept = 0;
    for (const SentTable& table : tables) {
        rows.push_back(
            {table.name,
             table.paradoxRows ? QString::number(*table.paradoxRows) : QStringLiteral("-"),
             Arrived(table), Count(table, table.refused), Reason(table)});
        if (!table.Counts()) {
            continue;
        }
        ++counted;
        whole += table.Whole() ? 1 : 0;
        if (table.fate == SentTable::Fate::Kept) {
            ++kept;  // its rows were not sent by this run
            continue;
        }
        paradoxRows += table.paradoxRows.value_or(0);
        arrived += table.arrived;
    }
    QString text = TextTable(rows);
    text += QStringLiteral("%1 of %2 tables arrived whole%3; %4 of %5 rows sent arrived.\n")
                .arg(QString::number(whole), QString::number(counted),
                     kept == 0 ? QString() : QStringLiteral(" (%1 kept as they were)").arg(kept),
                     QString::number(arrived), QString::number(paradoxRows));
    return text;
}

QJsonObject RunJson(const RunRecord& run) {
    QJsonObject json;
    json.insert(QStringLiteral("folder"), run.folder);
    json.insert(QStringLiteral("sid"), run.sid);
    json.insert(QStringLiteral("user"), run.user);
    json.insert(QStringLiteral("start"), run.started.toUTC().toString(Qt::ISODateWithMs));
    json.insert(QStringLiteral("end"), run.ended.toUTC().toString(Qt::ISODateWithMs));
    json.insert(QStringLiteral("interrupted"), run.signal != 0);
    json.insert(QStringLiteral("signal"),
                run.signal != 0 ? QJsonValue(SignalName(run.signal)) : QJsonValue());
    json.insert(QStringLiteral("exitStatus"), run.exitStatus);
    return json;
}

QByteArray SummaryJson(const TransferSummary& summary, const RunRecord& run) {
    QJsonArray tables;
    for (const SentTable& table : summary.InListOrder()) {
        QJsonObject entry;
        entry.insert(QStringLiteral("table"), table.name);
        entry.insert(QStringLiteral("sourceFile"), NullOr(table.sourceFile));
        entry.insert(QStringLiteral("outcome"), table.Outcome());
        entry.insert(QStringLiteral("paradoxRows"), NullOr(table.paradoxRows));
        entry.insert(QStringLiteral("arrived"), qint64(table.arrived));
        entry.insert(QStringLiteral("refused"), qint64(table.refused));
        entry.insert(QStringLiteral("oracleRows"),
                     NullOr(table.kept ? table.kept->oracleRows : std::nullopt));
        entry.insert(QStringLiteral("seconds"), table.seconds);
        entry.insert(QStringLiteral("firstRefusal"), NullOr(table.firstRefusal));
        entry.insert(QStringLiteral("note"),
                     NullOr(table.note.isEmpty() && table.kept &&
                                    (!table.kept->Complete() || table.kept->ChangedSince())
                                ? table.kept->Describe()
                                : table.note));
        tables.append(entry);
    }
    QJsonObject report = RunJson(run);
    report.insert(QStringLiteral("run"), NullOr(run.ledgerRun));
    report.insert(QStringLiteral("tables"), tables);
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

bool WriteReport(const QString& file, const QByteArray& json, Terminal& terminal,
                 const QString& command) {
    const QString reason = WriteWholeFile(file, json);
    if (reason.isEmpty()) {
        return true;
    }
    terminal.Message(QStringLiteral("quorvex %1: the report could not be written to %2: %3")
                         .arg(command, file, reason));
    return false;
}

}  // namespace quorvex
