#pragma once

#include "data/core/failure.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <vector>

namespace quorvex {

// One diagnostic record of an ODBC handle, as SQLGetDiagRec gives it.
struct DiagnosticRecord {
    QString state;  // the SQLSTATE, five characters
    int nativeError = 0;
    QString message;
};

// The records of a handle (SQL_HANDLE_STMT, SQL_HANDLE_DBC, ...), in order; none for a null
// handle.
std::vector<DiagnosticRecord> DiagnosticRecords(short handleType, void* handle);

// The one rule for a lost connection, on a failed call's diagnostic records. A record says the
// connection is gone when
// - its SQLSTATE is of class 08 (08S01 communication link failure, 08003 connection not open,
//   08006 connection failure, ...), or
// - its native error is one of Oracle's connection-loss codes (ORA-03113 end-of-file on
//   communication channel, ORA-03114 not connected, ORA-03135 connection lost contact, ORA-00028
//   session killed, ORA-01012 not logged on, instance shutdown and TNS errors, ...), whatever its
//   SQLSTATE: Oracle's driver reports these under HY000 or S1000. The message must name the code
//   as Oracle writes it ("ORA-03113"), so that another driver's own native numbers, which mean
//   something else, never count.
bool ShowsLostConnection(const std::vector<DiagnosticRecord>& records);

// The failure of the last statement or fetch on `query`, with the driver's own message. It is a
// lost connection when its diagnostic records show one (ShowsLostConnection), or, where the
// server's own farewell came first (a stopped server's "terminating connection"), when the driver
// says the connection is dead. Read before anything else runs on `query`.
Failure OdbcQueryFailure(const QSqlQuery& query);

// The same rule for a statement run on an ODBC statement handle of the program's own (bound
// values, data/odbc_bound_statement.h): `text` is the driver's message, the handles those the
// statement ran on.
Failure OdbcHandleFailure(const QString& text, void* statement, void* connection);

// Qt's ODBC driver hands out its statement and connection handles as void* values: the handle,
// or null when `handle` holds none.
void* OdbcHandle(const QVariant& handle);

// The ODBC connection handle (SQLHDBC) under a Qt SQL connection; null when it has none.
void* OdbcDatabaseHandle(const QSqlDatabase& database);

// A handle gathers a handful of diagnostic records at most; reading stops after this many, in
// case a driver never answers SQL_NO_DATA.
constexpr short kMostDiagnosticRecords = 64;

}  // namespace quorvex
