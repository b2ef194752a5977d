#pragma once

#include "data/access/oracle_database_rules.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace quorvex {

// The kinds of Oracle column a field becomes. A new kind goes here, with its word (ColumnWord),
// the type names that choose it (ChooseColumnType) and what Oracle refuses in it (TablePlan).
enum class ColumnKind { Text, Decimal, Integer, Blob, Float };

// The column type's word in CREATE TABLE: NVARCHAR2(2000), DECIMAL, INT, BLOB or FLOAT.
QString ColumnWord(ColumnKind kind);

// The Oracle column type chosen for a field, and the step line the choice appends under (a
// failure while appending the column is reported with that line).
struct ColumnType {
    QString word;  // ColumnWord(kind)
    int appendLine;
    ColumnKind kind = ColumnKind::Text;
};

// Chooses the column type from the lower-cased data type name (empty for an unknown code): the
// first of the substring tests "char", "decimal", "single", "int", "adlongvarbinary", "numeric",
// "date", "timestamp", "double" that holds decides; when none holds, NVARCHAR2(2000).
ColumnType ChooseColumnType(const QString& lowerCaseTypeName);

// The lower-cased type name of a data type code, the empty text for a code without a name.
QString LowerCaseTypeName(qint16 code);

// The field's data type code as the 16-bit integer the type name table is keyed by. Codes out of
// that range (a driver's own extension) raise an overflow Failure, as the narrowing conversion
// of the data access component does.
qint16 TypeCodeAsInt16(int code);

// Builds CREATE TABLE "<table>"("<field>" <type>,...) one column at a time, so the caller can
// yield and report per field. Depends only on its inputs: the names, the types and the rules of
// the database the statement is for.
class CreateTableStatement {
  public:
    // Starts the text: CREATE TABLE, a blank, the quoted name and "(". Refuses a table name the
    // database would not take (QuotedTableName).
    explicit CreateTableStatement(const QString& table, const OracleDatabaseRules& rules = {});

    // Appends "\"<field>\" <type>,". Refuses a field name the database would not take
    // (QuotedFieldName).
    void AddColumn(const QString& field, const QString& typeWord);

    // Takes back the last character (the comma after the last column; the "(" when there are no
    // columns at all) and closes the parenthesis.
    QString Finish();

  private:
    OracleDatabaseRules rules_;
    QString text_;
};

struct SourceField {
    QString name;
    qint16 type;
};

// The whole statement for a table and its fields in order.
QString BuildCreateTableStatement(const QString& table, const std::vector<SourceField>& fields,
                                  const OracleDatabaseRules& rules = {});

}  // namespace quorvex
