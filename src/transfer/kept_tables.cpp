#include "transfer/kept_tables.h"

#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "data/core/failure.h"
#include "shell/command_steps.h"
#include "shell/ui.h"
#include "transfer/column_fingerprint.h"
#include "transfer/native_plan.h"
#include "transfer/native_shape.h"
#include "transfer/quoted_name.h"
#include "transfer/server_number.h"
#include "transfer/table_plan.h"

#include <optional>
#include <vector>

namespace quorvex {

namespace {

// The Oracle entry a name meets: its exact spelling first, else the first equal ignoring case.
std::optional<QString> OracleEntry(const QString& name, const TableList& list) {
    std::optional<QString> found;
    for (int i = 0; i < list.ListCount(); ++i) {
        const QString entry = list.List(i);
        if (entry == name) {
            return entry;
        }
        if (!found && entry.compare(name, Qt::CaseInsensitive) == 0) {
            found = entry;
        }
    }
    return found;
}

std::int64_t CountRows(Connection& connection, const QString& statement) {
    Recordset counted;
    counted.Open(statement, connection);
    const std::optional<std::int64_t> rows = WholeNumberOf(counted.FieldValue(0));
    counted.Close();
    if (!rows) {
        throw Failure(QStringLiteral("The server answered COUNT(*) with no number."));
    }
    return *rows;
}

}  // namespace

bool KeptTable::Complete() const {
    using State = LedgerStanding::State;
    if (standing &&
        (standing->state == State::SourceChanged || standing->state == State::Unfinished)) {
        return false;
    }
    return paradoxRows && oracleRows && *paradoxRows == *oracleRows && notNative.isEmpty();
}

bool KeptTable::ResumeKeeps() const {
    using State = LedgerStanding::State;
    if (!notNative.isEmpty()) {
        return false;
    }
    if (!standing || standing->state == State::Unknown || !problem.isEmpty()) {
        return Complete();
    }
    return standing->state == State::Complete || standing->state == State::ChangedInOracle;
}

QString KeptTable::Describe() const {
    if (!problem.isEmpty()) {
        return QStringLiteral("its rows could not be counted: ") + problem.simplified();
    }
    if (!notNative.isEmpty()) {
        return QStringLiteral("it is not a native table: ") + notNative;
    }
    const QString counts =
        QStringLiteral("%1 of %2 rows in Oracle")
            .arg(QString::number(oracleRows.value_or(0)), QString::number(paradoxRows.value_or(0)));
    const QString ledger = standing ? standing->Describe(oracleRows.value_or(0)) : QString();
    return ledger.isEmpty() ? counts : counts + QStringLiteral("; ") + ledger;
}

void JudgeByLedger(std::map<QString, KeptTable>& kept, const std::map<QString, LedgerEntry>& latest,
                   const std::map<QString, QString>& sourceFiles) {
    for (auto& [name, table] : kept) {
        const auto entry = latest.find(name);
        const auto file = sourceFiles.find(name);
        if (entry == latest.end() || file == sourceFiles.end() || !table.paradoxRows ||
            !table.oracleRows) {
            continue;
        }
        table.standing = StandingOf(&entry->second, file->second, *table.paradoxRows,
                                    *table.oracleRows, table.columns);
    }
}

std::map<QString, KeptTable> CountKeptTables(
    const QStringList& names, const TableList& oracleList, const ConnectionFields& fields,
    const ParadoxTableOptions& options,
    const std::function<QString(const QString& table)>& readName, bool native) {
    std::map<QString, KeptTable> kept;
    for (const QString& name : names) {
        if (const std::optional<QString> entry = OracleEntry(name, oracleList)) {
            kept[name].oracleName = *entry;
        }
    }
    if (kept.empty()) {
        return kept;
    }
    Connection oracle;
    Connection paradox;
    try {
        paradox.SetCursorLocation(adUseClient);
        paradox.Open(ParadoxConnectionString(fields));
        oracle.Open(OracleConnectionString(fields));
    } catch (const std::exception& failure) {
        for (auto& [name, table] : kept) {
            table.problem = CommandSteps::Describe(failure);
        }
        return kept;
    }
    for (auto& [name, table] : kept) {
        // The dictionary's columns serve the native check and the fingerprint: read once.
        std::optional<std::vector<OracleColumn>> columns;
        const auto columnsNow = [&]() -> const std::vector<OracleColumn>& {
            if (!columns) {
                columns = ReadOracleColumns(oracle, table.oracleName);
            }
            return *columns;
        };
        try {
            const TablePlan plan =
                TablePlan::Read(paradox, readName ? readName(name) : name, options);
            table.paradoxRows = plan.rowCount;
            table.oracleRows = CountRows(oracle, QStringLiteral("SELECT COUNT(*) FROM ") +
                                                     QuotedTableName(table.oracleName));
            if (native) {
                table.notNative = NativeShapeDifference(NativeFieldsOf(plan), columnsNow());
            }
        } catch (const std::exception& failure) {
            table.problem = CommandSteps::Describe(failure);
        }
        try {
            table.columns = ColumnFingerprint(columnsNow());
        } catch (const std::exception&) {
            // Without the dictionary a column altered since cannot be told; the counts still can.
        }
    }
    return kept;
}

std::optional<int> AnswerForExisting(ExistingTable existing, const std::optional<KeptTable>& kept) {
    switch (existing) {
        case ExistingTable::Overwrite:
            return vbYes;
        case ExistingTable::Keep:
            return vbNo;
        case ExistingTable::Resume:
            return kept && kept->ResumeKeeps() ? vbNo : vbYes;
        case ExistingTable::Ask:
            break;
    }
    return std::nullopt;
}

}  // namespace quorvex
