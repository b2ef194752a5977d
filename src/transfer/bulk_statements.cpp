#include "transfer/bulk_statements.h"

#include "transfer/quoted_name.h"

namespace quorvex {

namespace {
const QString kSeparator = QStringLiteral(", ");
}  // namespace

BulkInsert BuildBulkInsertStatement(const QString& table, const std::vector<SourceField>& fields,
                                    const OracleDatabaseRules& rules) {
    BulkInsert insert;
    std::vector<std::size_t> blobFields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (ChooseColumnType(LowerCaseTypeName(fields[i].type)).kind == ColumnKind::Blob) {
            blobFields.push_back(i);
        } else {
            insert.fieldOfMarker.push_back(i);
            insert.blobMarker.push_back(false);
        }
    }
    for (const std::size_t i : blobFields) {
        insert.fieldOfMarker.push_back(i);
        insert.blobMarker.push_back(true);
    }
    QString columns;
    QString markers;
    bool inTableOrder = true;
    for (std::size_t marker = 0; marker < insert.fieldOfMarker.size(); ++marker) {
        const std::size_t i = insert.fieldOfMarker[marker];
        if (marker > 0) {
            columns += kSeparator;
            markers += kSeparator;
        }
        columns += QuotedFieldName(fields[i].name, rules);
        markers += u'?';
        inTableOrder = inTableOrder && i == marker;
    }
    // The column list only where the order differs: the server reads a shorter text faster.
    insert.text = QStringLiteral("INSERT INTO ") + QuotedTableName(table, rules) +
                  (inTableOrder ? QString() : QStringLiteral(" (") + columns + u')') +
                  QStringLiteral(" VALUES(") + markers + u')';
    return insert;
}

QString SelectColumnsStatement(const QString& table, const std::vector<QString>& fieldNames) {
    QString columns;
    for (const QString& name : fieldNames) {
        if (!columns.isEmpty()) {
            columns += kSeparator;
        }
        columns += QuotedFieldName(name);
    }
    return QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + QuotedTableName(table);
}

}  // namespace quorvex
