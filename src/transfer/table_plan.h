#pragma once

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "data/core/value.h"
#include "data/paradox_driver/paradox_table_door.h"
#include "transfer/create_table_statement.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvex {

// One field of a table as a send plans it: its name, the type code its values come with, the
// Oracle column it becomes and, for a Paradox table, the reader's own type and size.
struct PlannedField {
    QString name;
    qint16 typeCode = 0;
    ColumnType column = {};
    std::optional<paradox::FieldType> paradoxType = {};
    int size = 0;

    // Narrows the type code (Failure on overflow) and chooses the column.
    static PlannedField Of(const QString& name, int typeCode);
};

// What a send of one table is: read once from the open table, it holds the fields and their
// Oracle columns, the key fields, the code page the text was read in, the CREATE TABLE text and
// what Oracle would refuse. The window's send, the bulk copy, the dry run, verify and the counts
// of kept tables all take a table's shape from here.
struct TablePlan {
    QString table;
    OracleDatabaseRules rules;
    std::vector<PlannedField> fields = {};
    int keyFieldCount = 0;             // the first fields that make the Paradox primary key
    std::optional<int> codePage = {};  // of a Paradox table: the code page its text is read in
    std::int64_t rowCount = 0;
    QString sourceFile = {};  // of a Paradox table: the table file

    // Opens the Paradox table through the reader's door and plans it; `rows` (when given) is
    // left standing on its first row. Failures of reading raise Failure.
    static TablePlan Read(Connection& paradox, const QString& table,
                          const ParadoxTableOptions& options = {},
                          const OracleDatabaseRules& rules = {}, Recordset* rows = nullptr);
    // Plans the table an open recordset stands on (a Paradox table's facts are taken when the
    // recordset has them).
    static TablePlan FromRecordset(const QString& table, const Recordset& rows,
                                   const OracleDatabaseRules& rules = {});

    // Takes the key fields and the code page from the reader's facts, when there are any.
    void TakeFacts(const ParadoxTableFacts* facts);

    std::vector<QString> FieldNames() const;
    std::vector<SourceField> SourceFields() const;
    // CREATE TABLE "T"("A" NVARCHAR2(2000),...), refusing a name Oracle would refuse.
    QString CreateTableText() const;
    // Closes a CREATE TABLE whose columns are added: what the statement holds beyond its columns
    // is added here, so the window's send (which adds its columns step by step) and the bulk
    // copy (CreateTableText) create the same table.
    QString FinishCreateTable(CreateTableStatement& statement) const;

    // The first name (the table's, then the fields' in order) Oracle would refuse, described;
    // empty when it takes them all.
    QString RefusedName() const;
    // What Oracle would refuse in a value of the field (a text too long for its column, in
    // characters or in the bytes of the national character set, a number too large or one it
    // cannot hold), as a kind of refusal; empty when nothing.
    QString RefusalOf(std::size_t field, const Value& value) const;
};

}  // namespace quorvex
