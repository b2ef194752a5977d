#include "cli/verify_report.h"

#include "cli/rejects_file.h"
#include "cli/text_table.h"
#include "data/core/table_name_order.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace quorvex {

namespace {

using Result = VerifiedTable::Result;

// The longest value shown whole on the terminal; the report holds every value whole.
constexpr qsizetype kLongestShownValue = 60;

void InListOrder(std::vector<VerifiedTable>& tables) {
    std::stable_sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) {
        return CompareTableNames(a.name, b.name) < 0;
    });
}

QString Count(const VerifiedTable& table, std::int64_t TableComparison::*count) {
    return table.comparison ? QString::number((*table.comparison).*count) : QStringLiteral("-");
}

// {"Id": "7", "Name": "O'Brien 7", "Memo": "xxxxxxxx... (2001 characters)", "Amount": null}
QString RowText(const std::vector<QString>& names,
                const std::vector<std::optional<QString>>& values) {
    QByteArray text = "{";
    for (std::size_t i = 0; i < values.size(); ++i) {
        QByteArray value = "null";
        if (values[i]) {
            value = values[i]->size() <= kLongestShownValue
                        ? JsonString(*values[i])
                        : JsonString(values[i]->left(kLongestShownValue - 10) +
                                     QStringLiteral("... (%1 characters)").arg(values[i]->size()));
        }
        text += (i == 0 ? "" : ", ") + JsonString(i < names.size() ? names[i] : QString()) + ": " +
                value;
    }
    return QString::fromUtf8(text + '}');
}

QString DifferingRows(const VerifiedTable& table) {
    const TableComparison& compared = *table.comparison;
    QString text;
    const auto side = [&](const char* where, std::int64_t count,
                          const std::vector<ComparedRow>& sample, bool numbered) {
        if (count == 0) {
            return;
        }
        qsizetype refused = 0;
        for (const ComparedRow& row : sample) {
            refused += numbered && table.RefusedAtSend(row.paradoxRow) ? 1 : 0;
        }
        const bool whole = static_cast<std::int64_t>(sample.size()) == count;
        text += QStringLiteral("%1: %2 row%3 only in %4%5%6:\n")
                    .arg(table.name, QString::number(count),
                         count == 1 ? QString() : QStringLiteral("s"), QString::fromLatin1(where),
                         whole ? QString() : QStringLiteral(", the first %1").arg(sample.size()),
                         refused == 0
                             ? QString()
                             : QStringLiteral(", %1 of %2 refused at its send in run %3")
                                   .arg(QString::number(refused),
                                        whole ? QStringLiteral("them") : QStringLiteral("those"),
                                        QString::number(table.ledger->runId)));
        for (const ComparedRow& row : sample) {
            text += QStringLiteral("  ") +
                    (numbered ? QStringLiteral("row %1%2: ")
                                    .arg(QString::number(row.paradoxRow),
                                         table.RefusedAtSend(row.paradoxRow)
                                             ? QStringLiteral(" (refused at send)")
                                             : QString())
                              : QString()) +
                    RowText(compared.fieldNames, row.values) + u'\n';
        }
    };
    side("Paradox", compared.onlyInParadox, compared.paradoxSample, true);
    side("Oracle", compared.onlyInOracle, compared.oracleSample, false);
    for (const QString& difference : compared.structureDifferences) {
        text += table.name + QStringLiteral(": ") + difference + u'\n';
    }
    return text;
}

QJsonValue NullOrCount(const VerifiedTable& table, std::int64_t TableComparison::*count) {
    return table.comparison ? QJsonValue(qint64((*table.comparison).*count)) : QJsonValue();
}

QJsonArray RowsJson(const VerifiedTable& table, const std::vector<ComparedRow>& sample,
                    bool numbered) {
    const TableComparison& compared = *table.comparison;
    QJsonArray rows;
    for (const ComparedRow& row : sample) {
        QJsonObject values;
        for (std::size_t i = 0; i < row.values.size() && i < compared.fieldNames.size(); ++i) {
            values.insert(compared.fieldNames[i],
                          row.values[i] ? QJsonValue(*row.values[i]) : QJsonValue());
        }
        QJsonObject entry{{QStringLiteral("values"), values}};
        if (numbered) {
            entry.insert(QStringLiteral("row"), qint64(row.paradoxRow));
            entry.insert(QStringLiteral("refusedAtSend"), table.RefusedAtSend(row.paradoxRow));
        }
        rows.append(entry);
    }
    return rows;
}

}  // namespace

QString VerifiedTable::ResultWord() const {
    switch (result) {
        case Result::Same:
            return QStringLiteral("same");
        case Result::Differs:
            return QStringLiteral("differs");
        case Result::NotInOracle:
            return QStringLiteral("not in Oracle");
        case Result::NotCompared:
            return QStringLiteral("not compared");
        case Result::Stopped:
            return QStringLiteral("stopped");
        case Result::NotReached:
            return QStringLiteral("not reached");
        case Result::InSubfolder:
            break;
    }
    return QStringLiteral("in a subfolder");
}

bool VerifiedTable::RefusedAtSend(std::int64_t paradoxRow) const {
    if (!ledger) {
        return false;
    }
    const std::vector<std::int64_t> rows = RowNumbersOf(ledger->refusedRows);
    return std::find(rows.begin(), rows.end(), paradoxRow) != rows.end();
}

QString VerifiedTable::FinishedLine() const {
    if (result == Result::Same) {
        return QStringLiteral("%1: same (%2 rows)").arg(name).arg(comparison->paradoxRows);
    }
    if (result == Result::Differs) {
        return QStringLiteral(
                   "%1: differs: %2 rows in Paradox, %3 in Oracle; %4 only in "
                   "Paradox, %5 only in Oracle")
                   .arg(name, QString::number(comparison->paradoxRows),
                        QString::number(comparison->oracleRows),
                        QString::number(comparison->onlyInParadox),
                        QString::number(comparison->onlyInOracle)) +
               (comparison->structureDifferences.isEmpty()
                    ? QString()
                    : QStringLiteral("; ") +
                          comparison->structureDifferences.join(QStringLiteral("; ")));
    }
    return name + QStringLiteral(": ") + ResultWord() +
           (problem.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(problem.simplified()));
}

QString VerifyText(std::vector<VerifiedTable> tables) {
    InListOrder(tables);
    std::vector<QStringList> lines{{QStringLiteral("Table"), QStringLiteral("Paradox rows"),
                                    QStringLiteral("Oracle rows"),
                                    QStringLiteral("Only in Paradox"),
                                    QStringLiteral("Only in Oracle"), QStringLiteral("Result")}};
    QString rows;
    int same = 0;
    int counted = 0;
    for (const VerifiedTable& table : tables) {
        QString result = table.ResultWord();
        if (!table.problem.isEmpty()) {
            result = table.result == Result::InSubfolder
                         ? u'(' + table.problem + u')'
                         : result + QStringLiteral(": ") + table.problem.simplified();
        }
        lines.push_back({table.name, Count(table, &TableComparison::paradoxRows),
                         Count(table, &TableComparison::oracleRows),
                         Count(table, &TableComparison::onlyInParadox),
                         Count(table, &TableComparison::onlyInOracle), result});
        if (table.result == Result::Differs) {
            rows += DifferingRows(table);
        }
        counted += table.Counts() ? 1 : 0;
        same += table.result == Result::Same ? 1 : 0;
    }
    return TextTable(lines) + (rows.isEmpty() ? QString() : u'\n' + rows + u'\n') +
           QStringLiteral("%1 of %2 tables are the same.\n")
               .arg(QString::number(same), QString::number(counted));
}

QByteArray VerifyJson(std::vector<VerifiedTable> tables, const RunRecord& run) {
    InListOrder(tables);
    QJsonArray entries;
    for (const VerifiedTable& table : tables) {
        QJsonObject entry;
        entry.insert(QStringLiteral("table"), table.name);
        entry.insert(QStringLiteral("sourceFile"), table.sourceFile);
        entry.insert(QStringLiteral("result"), table.ResultWord());
        entry.insert(QStringLiteral("paradoxRows"),
                     NullOrCount(table, &TableComparison::paradoxRows));
        entry.insert(QStringLiteral("oracleRows"),
                     NullOrCount(table, &TableComparison::oracleRows));
        entry.insert(QStringLiteral("onlyInParadox"),
                     NullOrCount(table, &TableComparison::onlyInParadox));
        entry.insert(QStringLiteral("onlyInOracle"),
                     NullOrCount(table, &TableComparison::onlyInOracle));
        entry.insert(QStringLiteral("seconds"), table.seconds);
        entry.insert(QStringLiteral("problem"),
                     table.problem.isEmpty() ? QJsonValue() : QJsonValue(table.problem));
        const bool compared = table.comparison.has_value();
        entry.insert(
            QStringLiteral("onlyInParadoxRows"),
            compared ? RowsJson(table, table.comparison->paradoxSample, true) : QJsonArray());
        entry.insert(
            QStringLiteral("onlyInOracleRows"),
            compared ? RowsJson(table, table.comparison->oracleSample, false) : QJsonArray());
        entry.insert(QStringLiteral("refusedAtSendRun"),
                     table.ledger ? QJsonValue(qint64(table.ledger->runId)) : QJsonValue());
        entry.insert(QStringLiteral("keysAndIndexes"),
                     compared ? QJsonArray::fromStringList(table.comparison->structureDifferences)
                              : QJsonArray());
        entries.append(entry);
    }
    QJsonObject report = RunJson(run);
    report.insert(QStringLiteral("command"), QStringLiteral("verify"));
    report.insert(QStringLiteral("tables"), entries);
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

}  // namespace quorvex
