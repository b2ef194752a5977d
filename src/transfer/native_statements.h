#pragma once

#include "data/access/oracle_database_rules.h"
#include "data/core/value.h"
#include "transfer/insert_statement.h"
#include "transfer/native_column.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace quorvex {

// The statements of a native copy. Each depends only on its inputs and refuses a name the
// database would refuse under its rules (QuotedTableName, QuotedFieldName).

struct NativeField {
    QString name;
    paradox::FieldType type{};
    int size = 0;  // the descriptor's size byte
};

// CREATE TABLE "T"("Name" NVARCHAR2(40), "Paid" NUMBER(1) CHECK ("Paid" IN (0, 1)), ...): the
// native column of each field (NativeColumnFor), in the table's order. No key: the key and the
// indexes are made once the rows are in.
QString BuildNativeCreateTable(const QString& table, const std::vector<NativeField>& fields,
                               const OracleDatabaseRules& rules = {});

// The column list every native INSERT of a table uses: the LOB columns (NCLOB, BLOB) after all
// the others, so that their long bound values come last (ORA-24816).
struct NativeInsertLayout {
    QString head;                            // INSERT INTO "T" ("A", "B", "Memo") VALUES(
    std::vector<std::size_t> fieldOfColumn;  // the field each column of the list stands for
    std::vector<NativeColumn> columns;       // in the list's order
};
NativeInsertLayout BuildNativeInsertLayout(const QString& table,
                                           const std::vector<NativeField>& fields,
                                           const OracleDatabaseRules& rules = {});

// One row's INSERT, its values (in the table's field order) written as NativeLiteral does, a
// value Oracle cannot take as a literal bound to a "?" marker. Never refused: the long values
// all go to LOB columns, which take them.
InsertRow BuildNativeInsert(const NativeInsertLayout& layout, const std::vector<Value>& row,
                            const OracleDatabaseRules& rules = {});

// The bulk INSERT, one marker per column (NativeMarker), in the layout's order.
QString BuildNativeBulkInsert(const NativeInsertLayout& layout);

// The name of a table's constraint or index: the table's name and `suffix` ("_PK", "_X06").
// Where the whole would be longer than the server takes a name (in bytes of the database
// character set), the table's name is cut and four hexadecimal digits of its whole name's hash
// keep two long names that begin alike apart: "A_VERY_LONG_NA_3F2A_PK".
QString NativeObjectName(const QString& table, const QString& suffix,
                         const OracleDatabaseRules& rules = {});

// ALTER TABLE "T" ADD CONSTRAINT "T_PK" PRIMARY KEY ("A", "B"), which also makes the columns
// NOT NULL.
QString PrimaryKeyStatement(const QString& table, const std::vector<QString>& keyFields,
                            const OracleDatabaseRules& rules = {});

// CREATE INDEX "T_X06" ON "T" ("City"): a secondary index, named after the table and the tag of
// its Paradox index file (ParadoxIndex::tag).
QString CreateIndexStatement(const QString& table, const QString& tag,
                             const std::vector<QString>& fields,
                             const OracleDatabaseRules& rules = {});

// The key values a primary key cannot be made over, most repeated first: SELECT "A", "B",
// COUNT(*) FROM "T" GROUP BY "A", "B" HAVING COUNT(*) > 1 OR "A" IS NULL OR "B" IS NULL ORDER
// BY COUNT(*) DESC. A NULL key value counts once even when it is alone.
QString OffendingKeysQuery(const QString& table, const std::vector<QString>& keyFields,
                           const OracleDatabaseRules& rules = {});

}  // namespace quorvex
