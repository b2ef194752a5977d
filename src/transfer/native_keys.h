#pragma once

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "data/paradox_driver/paradox_table_keys.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace quorvex {

// What became of a native table's primary key and secondary indexes, made once its rows are in.
struct NativeKeysResult {
    bool keyMade = false;  // also false for a table without a key
    // Why the key was not made, naming the key values that repeat or are missing, the most
    // repeated first; empty when it was made or the table has none.
    QString keyProblem;
    int indexesMade = 0;
    QStringList indexProblems;  // one per index not made, or index file not read

    bool complete() const { return keyProblem.isEmpty() && indexProblems.isEmpty(); }
};

// Makes the primary key of the first keys.keyFieldCount fields (`fieldNames` in the table's
// order) and a CREATE INDEX for each secondary index, on the open Oracle connection. A key or an
// index the server refuses is reported and the others are still made; the rows stay as they
// are. A lost connection throws.
NativeKeysResult MakeNativeKeys(Connection& oracle, const QString& table,
                                const std::vector<QString>& fieldNames,
                                const ParadoxTableKeys& keys,
                                const OracleDatabaseRules& rules = {});

}  // namespace quorvex
