#pragma once

#include "support/server_log.h"

#include <QString>
#include <QStringList>

namespace quorvex::test {

// The test server takes statements Oracle refuses for their form alone. These rules read a
// statement as Oracle would and name the first thing it would refuse, or give an empty text:
// - a string literal over 4,000 bytes in UTF-8, a doubled quote inside counting once
//   (ORA-01704: longer values must be bound);
// - a quoted identifier over 128 bytes in UTF-8 (ORA-00972), one holding a double quote (which
//   ends it early) or an empty one;
// - a ";" outside literals, names and comments: more than one statement in one text, or a
//   closing ";" (ORA-00911).
QString OracleFormProblem(const QString& statement);

struct OracleFormCheck {
    int statements = 0;      // how many were checked
    QStringList violations;  // "<problem>: <the statement's start>"
};

// Checks every statement the ODBC connections executed among the entries of a server log.
// psqlODBC's own statements and other connections (psql) are not the program's, and are left out.
OracleFormCheck CheckOracleForm(const QList<LogEntry>& entries);

}  // namespace quorvex::test
