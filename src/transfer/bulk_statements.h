#pragma once

#include "transfer/create_table_statement.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace quorvex {

// The statements of the bulk copy and of the comparison of a sent table. Each depends only on
// its inputs and refuses a name the database would refuse under its rules (QuotedTableName,
// QuotedFieldName), as the row copy's statements do.

// One INSERT for every row of a table, each value a "?" marker bound to it, in the table's order:
// INSERT INTO "T" VALUES(?, ?, ?). The BLOB columns (by their type, as CREATE TABLE chooses it)
// go last, since Oracle takes LONG and LOB binds only after all the others (ORA-24816): where
// one stands before another column, the columns are named with the BLOB columns at the end,
// INSERT INTO "T" ("Id", "Name", "Photo") VALUES(?, ?, ?).
struct BulkInsert {
    QString text;
    // For each marker in order, the index of the field it stands for.
    std::vector<std::size_t> fieldOfMarker;
    // For each marker in order, whether its column is a BLOB column.
    std::vector<bool> blobMarker;
};
BulkInsert BuildBulkInsertStatement(const QString& table, const std::vector<SourceField>& fields,
                                    const OracleDatabaseRules& rules = {});

// SELECT "A", "B", ... FROM "T": the columns of the sent table in the given order.
QString SelectColumnsStatement(const QString& table, const std::vector<QString>& fieldNames);

// The savepoint taken before each array of rows, and the statement that goes back to it when the
// server refuses a row of that array. Oracle replaces an earlier savepoint of the same name; the
// test server stacks them and goes back to the latest, which is the same here.
inline const QString kArraySavepoint = QStringLiteral("SAVEPOINT QUORVEX_ROWS");
inline const QString kBackToArraySavepoint = QStringLiteral("ROLLBACK TO SAVEPOINT QUORVEX_ROWS");

}  // namespace quorvex
