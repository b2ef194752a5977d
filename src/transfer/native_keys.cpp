#include "transfer/native_keys.h"

#include "shell/command_steps.h"
#include "transfer/native_statements.h"
#include "transfer/sent_value.h"

namespace quorvex {

namespace {

// The key values shown when a key cannot be made: enough to find the rows, few enough to read.
constexpr int kShownKeyValues = 5;

void RethrowLostConnection(const std::exception& failure) {
    if (CommandSteps::LostTheConnection(failure)) {
        throw;
    }
}

// "Id 1 in 2 rows; Id NULL in 1 row" for the key values a key cannot be made over.
QString OffendingKeyValues(Connection& oracle, const QString& table,
                           const std::vector<QString>& keyFields,
                           const OracleDatabaseRules& rules) {
    Recordset offending;
    offending.Open(OffendingKeysQuery(table, keyFields, rules), oracle);
    QStringList shown;
    int more = 0;
    for (; !offending.Eof(); offending.MoveNext()) {
        if (shown.size() == kShownKeyValues) {
            ++more;
            continue;
        }
        QStringList values;
        for (std::size_t k = 0; k < keyFields.size(); ++k) {
            const std::optional<QString> text = SentText(offending.FieldValue(static_cast<int>(k)));
            values.append(keyFields[k] + u' ' + (text ? *text : QStringLiteral("NULL")));
        }
        const QString rows =
            SentText(offending.FieldValue(static_cast<int>(keyFields.size()))).value_or(QString());
        shown.append(
            QStringLiteral("%1 in %2 %3")
                .arg(values.join(QStringLiteral(", ")), rows,
                     rows == QLatin1String("1") ? QStringLiteral("row") : QStringLiteral("rows")));
    }
    if (more > 0) {
        shown.append(QStringLiteral("%1 more").arg(more));
    }
    return shown.join(QStringLiteral("; "));
}

}  // namespace

NativeKeysResult MakeNativeKeys(Connection& oracle, const QString& table,
                                const std::vector<QString>& fieldNames,
                                const ParadoxTableKeys& keys, const OracleDatabaseRules& rules) {
    NativeKeysResult result;
    if (keys.keyFieldCount > 0) {
        const std::vector<QString> keyFields(
            fieldNames.begin(),
            fieldNames.begin() +
                std::min<std::ptrdiff_t>(keys.keyFieldCount,
                                         static_cast<std::ptrdiff_t>(fieldNames.size())));
        try {
            oracle.Execute(PrimaryKeyStatement(table, keyFields, rules));
            result.keyMade = true;
        } catch (const std::exception& failure) {
            RethrowLostConnection(failure);
            QString values;
            try {
                values = OffendingKeyValues(oracle, table, keyFields, rules);
            } catch (const std::exception& queryFailure) {
                RethrowLostConnection(queryFailure);
            }
            result.keyProblem =
                QStringLiteral(
                    "The primary key of table %1 was not made (%2)%3; its rows stay in "
                    "the table.")
                    .arg(table, CommandSteps::Describe(failure),
                         values.isEmpty()
                             ? QString()
                             : QStringLiteral(": key values repeated or missing: ") + values);
        }
    }
    for (const ParadoxIndex& index : keys.indexes) {
        std::vector<QString> fields;
        for (const int field : index.fields) {
            fields.push_back(fieldNames.at(static_cast<std::size_t>(field)));
        }
        try {
            oracle.Execute(CreateIndexStatement(table, index.tag, fields, rules));
            ++result.indexesMade;
        } catch (const std::exception& failure) {
            RethrowLostConnection(failure);
            result.indexProblems.append(
                QStringLiteral("The index %1 (%2) of table %3 was not made: %4")
                    .arg(index.tag, index.name, table, CommandSteps::Describe(failure)));
        }
    }
    for (const QString& damaged : keys.damaged) {
        result.indexProblems.append(
            QStringLiteral("An index of table %1 was not made: %2").arg(table, damaged));
    }
    return result;
}

}  // namespace quorvex
