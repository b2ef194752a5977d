#include "transfer/bulk_send_plan.h"

#include "shell/ui.h"
#include "transfer/list_procedures.h"

namespace quorvex {

using Outcome = BulkTableResult::Outcome;

BulkSendPlan PlanBulkSend(
    const QStringList& chosen, const TableList& oracle, const std::map<QString, KeptTable>& kept,
    TransferSummary& summary,
    const std::function<int(const QString& table, const std::optional<KeptTable>& counted)>& ask,
    const std::function<bool()>& stop) {
    BulkSendPlan plan;
    for (const QString& table : chosen) {
        if (!ListContains(oracle, table)) {
            plan.toSend.append(table);
            continue;
        }
        const auto found = kept.find(table);
        const std::optional<KeptTable> counted =
            found != kept.end() ? std::optional<KeptTable>(found->second) : std::nullopt;
        const int answer = ask(table, counted);
        if (stop()) {
            break;  // a question cut short keeps nothing: the table was not reached
        }
        if (answer == vbYes) {
            plan.toSend.append(table);
            plan.dropFirst.insert(table);
            continue;
        }
        SentTable record{table, SentTable::Fate::Kept};
        record.kept = counted;
        record.paradoxRows = counted ? counted->paradoxRows : std::nullopt;
        summary.AddTable(record);
    }
    return plan;
}

SentTable BulkRecordOf(const QString& table, const BulkTableResult& result,
                       const QString& firstProblem, double seconds) {
    SentTable record{table, SentTable::Fate::Copied};
    record.seconds = seconds;
    if (result.paradoxRows >= 0) {
        record.paradoxRows = result.paradoxRows;
    }
    record.refused = result.refused + result.storedWithNull;
    record.firstRefusal = firstProblem;
    record.leftBehind = result.tableLeftBehind;
    const QString where =
        result.tableLeftBehind
            ? QStringLiteral(
                  "no row was committed, but an empty table of that name may stand in "
                  "Oracle: --resume sends it again")
            : QStringLiteral("not in Oracle");
    switch (result.outcome) {
        case Outcome::Complete:
            record.arrived = result.arrived - result.storedWithNull;
            record.note = result.keyProblems.join(u' ');
            break;
        case Outcome::Stopped:
            record.fate = SentTable::Fate::RolledBack;
            record.note = result.rowsRead == 0
                              ? QStringLiteral("stopped before its rows were sent")
                              : QStringLiteral("stopped after %1 of %2 rows; %3")
                                    .arg(QString::number(result.rowsRead),
                                         QString::number(result.paradoxRows), where);
            break;
        case Outcome::Failed:
            record.fate = SentTable::Fate::RolledBack;
            record.note = QStringLiteral("%1 after %2 of %3 rows; %4")
                              .arg(result.failure.simplified(), QString::number(result.rowsRead),
                                   QString::number(result.paradoxRows), where);
            break;
        case Outcome::NotCreated:
            record.fate = SentTable::Fate::NotCopied;
            record.note = result.failure.simplified();
            break;
    }
    return record;
}

}  // namespace quorvex
