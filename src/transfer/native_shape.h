#pragma once

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "data/paradox_driver/paradox_table_keys.h"
#include "transfer/native_statements.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace quorvex {

// What Oracle's dictionary says of a table sent natively: its columns' types, its primary key
// and its indexes. A table of that name may have been sent with the window's types, or changed
// by hand since: a kept table is only complete, and a verified one only the same, when it is
// the native table its Paradox table makes.

// One column as USER_TAB_COLUMNS describes it.
struct OracleColumn {
    QString name;
    QString dataType;    // NVARCHAR2, NUMBER, BINARY_DOUBLE, INTERVAL DAY(2) TO SECOND(3)...
    int charLength = 0;  // NVARCHAR2's length in characters
    int dataLength = 0;  // RAW's length in bytes
    int precision = -1;  // NUMBER's, -1 when it has none
    int scale = -1;
    bool nullable = true;  // false for a column NOT NULL (a key's)
};

// What the dictionary says of a table's key and indexes: the primary key's columns in order,
// and each index's columns by the index's name.
struct OracleKeys {
    std::vector<QString> primaryKey;
    std::map<QString, std::vector<QString>> indexes;
};

// SELECT ... FROM user_tab_columns WHERE table_name = 'T' ORDER BY column_id, and the queries of
// the key's and the indexes' columns, the table's name as a literal.
QString OracleColumnsQuery(const QString& table);
QString PrimaryKeyColumnsQuery(const QString& table);
QString IndexColumnsQuery(const QString& table);

// Reads them on an open Oracle connection; failures throw.
std::vector<OracleColumn> ReadOracleColumns(Connection& oracle, const QString& table);
OracleKeys ReadOracleKeys(Connection& oracle, const QString& table);

// Why the Oracle table is not the native table of these fields ("its column \"Notes\" is
// NVARCHAR2(2000), not NCLOB"); empty when every column is the native one.
QString NativeShapeDifference(const std::vector<NativeField>& fields,
                              const std::vector<OracleColumn>& columns);

// What is missing or different of the key and the indexes the Paradox table has: "the primary
// key is missing", "the index \"T_X06\" is on (\"Name\"), not (\"City\")"...; empty when both
// are as the native copy makes them. An index file the reader could not read is named too.
QStringList NativeKeysDifference(const QString& table, const std::vector<QString>& fieldNames,
                                 const ParadoxTableKeys& keys, const OracleKeys& found,
                                 const OracleDatabaseRules& rules = {});

}  // namespace quorvex
