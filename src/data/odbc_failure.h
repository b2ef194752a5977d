#pragma once

#include "data/failure.h"

#include <QSqlQuery>
#include <QVariant>

namespace quorvex {

// The failure of the last statement or fetch on `query`, with the driver's own message. It is a
// lost connection when the driver's diagnostics say so: an SQLSTATE of class 08 (08S01
// communication link failure, 08003 connection not open, 08006 connection failure, ...), or,
// where the server's own farewell came first (a stopped server's "terminating connection"), the
// driver's verdict that the connection is dead. Read before anything else runs on `query`.
Failure OdbcQueryFailure(const QSqlQuery& query);

// The same rule for a statement run on an ODBC statement handle of the program's own (bound
// values, data/odbc_bound_statement.h): `text` is the driver's message, the handles those the
// statement ran on.
Failure OdbcHandleFailure(const QString& text, void* statement, void* connection);

// Qt's ODBC driver hands out its statement and connection handles as void* values: the handle,
// or null when `handle` holds none.
void* OdbcHandle(const QVariant& handle);

// A handle gathers a handful of diagnostic records at most; reading stops after this many, in
// case a driver never answers SQL_NO_DATA.
constexpr short kMostDiagnosticRecords = 64;

}  // namespace quorvex
