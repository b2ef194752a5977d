#include "transfer/table_copy.h"

#include "data/core/failure.h"
#include "transfer/insert_statement.h"
#include "transfer/sent_value.h"
#include "transfer/value_text.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace quorvex {

bool TableCopy::CreateOracleTable() {
    bool built = true;
    std::optional<CreateTableStatement> statement;
    built &= steps.Step(142, [&] { statement.emplace(table, rules); });
    if (!statement) {
        return false;  // the table name itself was refused; nothing to build on
    }

    // The plan is built field by field, each read its own step, so that a field that cannot be
    // read is reported under its line and the others still are.
    plan = TablePlan{table, rules};
    int fieldCount = 0;
    built &= steps.Step(144, [&] { fieldCount = source.FieldCount(); });
    for (int i = 0; i < fieldCount; ++i) {
        steps.Step(146, [&] { yield.AtField(); });
        QString name;
        built &= steps.Step(148, [&] { name = source.FieldName(i); });
        // A type that cannot be read is chosen as the empty type name: NVARCHAR2(2000).
        PlannedField field{name, 0, ChooseColumnType(QString())};
        built &= steps.Step(150, [&] { field = PlannedField::Of(name, source.FieldType(i)); });
        plan.fields.push_back(field);
        const ColumnType& type = field.column;
        built &= steps.Step(type.appendLine, [&] { statement->AddColumn(name, type.word); });
    }  // 194: next field

    QString text;
    plan.TakeFacts(source.ParadoxFacts());
    fieldNames = plan.FieldNames();
    steps.Step(196, [&] {
        text = plan.FinishCreateTable(*statement);
    });  // 196 takes the comma, 198 closes
    if (!built) {
        return false;
    }
    return steps.Step(202, [&] { oracle.Execute(text); });
}

void TableCopy::CopyRows(ProgressBar& progress) {
    std::int64_t rowCount = 0;
    if (!steps.Step(210, [&] { rowCount = source.RecordCount(); })) {
        return;
    }
    if (observer != nullptr) {
        observer->RowsToCopy(rowCount);
    }
    std::optional<InsertStatement> statement;
    if (!steps.Step(218, [&] { statement.emplace(table, fieldNames, rules); })) {
        return;  // the name is refused for every row alike: report it once
    }
    // The steps of a row reach their data through `this` and one local: a step's body then fits
    // std::function's own storage, with no allocation per value.
    struct Row {
        std::int64_t number = 0;
        std::int64_t count = 0;
        int fieldCount = 0;
        int field = 0;
        Value value;
        const QString* insert = nullptr;
        const std::vector<Value>* bound = nullptr;
        const QString* refusedBeforeSending = nullptr;  // why Oracle would refuse it unsent
        QString refusal;            // why the server refused the row, for the observer
        std::vector<Value> values;  // the row as read, for the observer
        QStringList unheld;         // the fields whose numbers Oracle cannot hold
        QString unreadable;         // why its first unreadable value could not be read
    } row;
    row.count = rowCount;
    // A lost connection or a stop request ends the copy after the row in hand.
    for (row.number = 1; row.number <= row.count && !steps.Ending(); ++row.number) {  // 212
        steps.Step(214, [this] { yield.AtRow(); });
        steps.Step(216, [&progress, &row] {
            progress.SetValue(static_cast<double>(row.number) / static_cast<double>(row.count) *
                              100.0);
        });
        statement->Begin();  // 218

        row.fieldCount = 0;
        steps.Step(220, [this, &row] { row.fieldCount = source.FieldCount(); });
        for (row.field = 0; row.field < row.fieldCount; ++row.field) {
            steps.Step(222, [this] { yield.AtField(); });
            // A value that cannot be read is reported and written as NULL; the row then did not
            // arrive whole, which the observer learns.
            row.value = Value::Null();
            steps.Step(224, [this, &row] {
                try {
                    row.value = NullToDefault(source.FieldValue(row.field), Value::Text(QString()));
                } catch (const std::exception& failure) {
                    if (observer != nullptr && row.unreadable.isEmpty()) {
                        row.unreadable =
                            UnreadableValueReport(row.field < static_cast<int>(fieldNames.size())
                                                      ? fieldNames[row.field]
                                                      : QString::number(row.field),
                                                  CommandSteps::Describe(failure));
                    }
                    throw;  // reported by the step as any other failure
                }
            });
            // An infinite number has no literal and goes as NULL (226 to 230), never silently.
            if (const QString unheld = NumberOracleCannotHold(row.value); !unheld.isEmpty()) {
                row.unheld.append(QStringLiteral("%1 (%2)").arg(
                    row.field < static_cast<int>(fieldNames.size()) ? fieldNames[row.field]
                                                                    : QString::number(row.field),
                    unheld));
            }
            if (observer != nullptr) {
                row.values.push_back(row.value);
            }
            statement->AddValue(row.value);  // 226 to 234; a long value is bound instead
        }                                    // 236: next field

        row.insert = &statement->Finish();  // 238, 240
        row.bound = &statement->BoundValues();
        row.refusedBeforeSending = &statement->Refusal();
        QString problem = std::exchange(row.unreadable, QString());
        if (!row.unheld.isEmpty()) {
            const QString unheld = UnheldNumbersReport(table, row.number, row.unheld);
            steps.Report(226, Failure(unheld));
            if (problem.isEmpty()) {
                problem = unheld;
            }
            row.unheld.clear();
        }
        const bool arrived = steps.Step(244, [this, &row] {
            try {
                if (!row.refusedBeforeSending->isEmpty()) {
                    throw Failure(*row.refusedBeforeSending);
                }
                oracle.Execute(*row.insert, *row.bound);
            } catch (const std::exception& failure) {
                if (observer != nullptr) {
                    row.refusal = CommandSteps::Describe(failure);
                }
                throw;  // reported by the step as any other failure
            }
        });
        if (observer != nullptr) {
            observer->RowSent(SentRow{row.number, arrived, arrived ? problem : row.refusal,
                                      &fieldNames, &row.values});
            row.values.clear();
        }
        if (!steps.Step(246, [this] { source.MoveNext(); })) {
            return;
        }
    }  // 248: next row
}

}  // namespace quorvex
