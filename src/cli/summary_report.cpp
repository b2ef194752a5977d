#include "cli/summary_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>

namespace quorvex {

namespace {

using Row = std::array<QString, 5>;

QString Count(const SentTable& table, std::int64_t count) {
    return table.fate == SentTable::Fate::Copied ? QString::number(count) : QStringLiteral("-");
}

// The last column: the first refusal on one line, else what became of a table not copied whole.
QString Reason(const SentTable& table) {
    if (!table.firstRefusal.isEmpty()) {
        return table.firstRefusal.simplified();
    }
    return table.Whole() ? QString() : u'(' + table.Outcome() + u')';
}

}  // namespace

QString SummaryText(const TransferSummary& summary) {
    const std::vector<SentTable> tables = summary.InListOrder();
    std::vector<Row> rows{{QStringLiteral("Table"), QStringLiteral("Paradox rows"),
                           QStringLiteral("Arrived"), QStringLiteral("Refused"),
                           QStringLiteral("First refusal")}};
    std::int64_t paradoxRows = 0;
    std::int64_t arrived = 0;
    int whole = 0;
    for (const SentTable& table : tables) {
        rows.push_back(
            {table.name,
             table.paradoxRows ? QString::number(*table.paradoxRows) : QStringLiteral("-"),
             Count(table, table.arrived), Count(table, table.refused), Reason(table)});
        paradoxRows += table.paradoxRows.value_or(0);
        arrived += table.arrived;
        whole += table.Whole() ? 1 : 0;
    }
    std::array<qsizetype, 4> widths{};
    for (const Row& row : rows) {
        for (std::size_t c = 0; c < widths.size(); ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    QString text;
    for (const Row& row : rows) {
        QString line = row[0].leftJustified(widths[0]);
        for (std::size_t c = 1; c < widths.size(); ++c) {
            line += QStringLiteral("  ") + row[c].rightJustified(widths[c]);
        }
        line += QStringLiteral("  ") + row[4];
        while (line.endsWith(u' ')) {  // an empty last column leaves no trailing blanks
            line.chop(1);
        }
        text += line + u'\n';
    }
    text += QStringLiteral("%1 of %2 tables arrived whole; %3 of %4 rows arrived.\n")
                .arg(QString::number(whole), QString::number(tables.size()),
                     QString::number(arrived), QString::number(paradoxRows));
    return text;
}

QByteArray SummaryJson(const TransferSummary& summary, bool interrupted, int exitStatus) {
    QJsonArray tables;
    for (const SentTable& table : summary.InListOrder()) {
        QJsonObject entry;
        entry.insert(QStringLiteral("table"), table.name);
        entry.insert(QStringLiteral("outcome"), table.Outcome());
        entry.insert(QStringLiteral("paradoxRows"), table.paradoxRows
                                                        ? QJsonValue(qint64(*table.paradoxRows))
                                                        : QJsonValue(QJsonValue::Null));
        entry.insert(QStringLiteral("arrived"), qint64(table.arrived));
        entry.insert(QStringLiteral("refused"), qint64(table.refused));
        entry.insert(QStringLiteral("firstRefusal"), table.refused > 0
                                                         ? QJsonValue(table.firstRefusal)
                                                         : QJsonValue(QJsonValue::Null));
        tables.append(entry);
    }
    QJsonObject report;
    report.insert(QStringLiteral("tables"), tables);
    report.insert(QStringLiteral("interrupted"), interrupted);
    report.insert(QStringLiteral("exitStatus"), exitStatus);
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

}  // namespace quorvex
