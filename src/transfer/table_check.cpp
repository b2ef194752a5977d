#include "transfer/table_check.h"

#include "shell/command_steps.h"
#include "transfer/list_procedures.h"
#include "transfer/quoted_name.h"
#include "transfer/table_plan.h"

#include <QStringList>

namespace quorvex {

namespace {

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

}  // namespace

bool CheckedTable::Whole() const {
    if (action == QLatin1String("keep")) {
        return kept && kept->Complete();
    }
    return notSent.isEmpty() && refusedRows == 0;
}

QString CheckedTable::Problems() const {
    QStringList problems;
    if (!notSent.isEmpty()) {
        problems.append(notSent.simplified());
    }
    if (action == QLatin1String("keep") && kept && (!kept->Complete() || kept->ChangedSince())) {
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

QString ActionFor(const QString& name, const TableList& oracle, ExistingTable existing,
                  const std::optional<KeptTable>& kept) {
    if (!ListContains(oracle, name)) {
        return QStringLiteral("create");
    }
    switch (existing) {
        case ExistingTable::Overwrite:
            return QStringLiteral("drop and send again");
        case ExistingTable::Keep:
            return QStringLiteral("keep");
        case ExistingTable::Resume:
            return kept && kept->ResumeKeeps() ? QStringLiteral("keep")
                                               : QStringLiteral("drop and send again");
        case ExistingTable::Ask:
            break;
    }
    return QStringLiteral("ask whether to overwrite");
}

void CheckTableRows(CheckedTable& table, Connection& paradox, const OracleDatabaseRules& rules,
                    const ParadoxTableOptions& options, const std::function<bool()>& stop,
                    bool native) {
    try {
        QuotedTableName(table.name, rules);
    } catch (const std::exception& failure) {
        table.notSent = CommandSteps::Describe(failure);
        return;
    }
    Recordset source;
    try {
        ParadoxTableOptions reading = options;
        reading.exactDecimals = native;
        TablePlan plan =
            TablePlan::Read(paradox, table.readName.isEmpty() ? table.name : table.readName,
                            reading, rules, &source);
        plan.table = table.name;  // its Oracle table is named by the table, whichever file it is
        table.paradoxRows = plan.rowCount;
        table.notSent = plan.RefusedName();
        if (!table.notSent.isEmpty()) {
            return;
        }
        for (std::int64_t row = 1; row <= plan.rowCount && !stop(); ++row) {
            bool refused = false;
            for (std::size_t i = 0; i < plan.fields.size(); ++i) {
                const Value value = source.FieldValue(static_cast<int>(i));
                const QString kind = native ? QString() : plan.RefusalOf(i, value);
                if (!kind.isEmpty()) {
                    Note(table, kind, row, plan.fields[i].name);
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

}  // namespace quorvex
