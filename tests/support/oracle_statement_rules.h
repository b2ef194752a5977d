#pragma once

#include "data/oracle/oracle_character_set.h"
#include "support/server_log.h"

#include <QString>
#include <QStringList>

namespace quorvex::test {

// What the checked statements are held to: the database character set the server declares (the
// test server answers nls_database_parameters with AL32UTF8 unless a test says otherwise) and the
// longest name, in that set's bytes: 128 since Oracle 12.2, 30 on an older server.
struct OracleFormLimits {
    OracleCharacterSet characterSet;
    qsizetype longestName = 128;
};

// The limits the shared checks run with: the defaults above, or QUORVEX_CHECK_NAME_LIMIT (bytes)
// and QUORVEX_CHECK_CHARACTER_SET (an Oracle character set name) where they are set, so the
// whole test log can be read as an older or a non-Unicode server would read it.
OracleFormLimits OracleFormLimitsFromEnvironment();

// The test server takes statements Oracle refuses or alters for their form alone. These rules
// read a statement as Oracle would and name the first thing it would refuse, or give an empty
// text:
// - a string literal over 4,000 bytes in the database character set, a doubled quote inside
//   counting once (ORA-01704: longer values must be bound);
// - a quoted identifier over the longest name (ORA-00972), one holding a double quote (which
//   ends it early) or an empty one;
// - a character the database character set cannot hold inside a literal or a quoted identifier
//   (Oracle would store a replacement character in its place, without an error);
// - a ";" outside literals, names and comments: more than one statement in one text, or a
//   closing ";" (ORA-00911);
// - a sized type outside Oracle's sizes: NVARCHAR2 over 2,000 characters, RAW over 2,000
//   bytes, NUMBER's precision outside 1..38 or scale outside -84..127, fractions of seconds
//   over 9 digits;
// - a native value's literal in a form a session setting could change or Oracle refuses: a
//   TO_BINARY_DOUBLE text with a decimal or group sign, HEXTORAW of part of a byte or over
//   2,000 bytes, DATE, TIMESTAMP and INTERVAL literals not in their ANSI form.
// (A doubled quote inside such a literal is read as two characters: none of these forms has
// one.)
QString OracleFormProblem(const QString& statement, const OracleFormLimits& limits = {});

// The rules for the values bound to a statement, as the log shows them (LooksLikeLoggedBytes):
// - a byte value over 2,000 bytes bound as RAW ("$n::bytea", SQL_VARBINARY): RAW holds 2,000
//   bytes, and a driver may refuse the bind; it goes as long binary (SQL_LONGVARBINARY);
// - a bound value after a byte value over 2,000 bytes, which Oracle binds as LONG RAW data
//   (ORA-24816: the LONG and LOB binds go at the end of the bind list);
// - a bound text over 4,000 bytes as bound (2,000 UTF-16 code units) together with such a byte
//   value (ORA-22295: over 4,000 bytes go to LOB columns or to a LONG, not both), unless
//   `textsGoToLobs`: the statement's table keeps its texts in NCLOB columns (a native copy's),
//   so every long value goes to a LOB column.
QString OracleBindProblem(const LoggedStatement& statement, bool textsGoToLobs = false);

struct OracleFormCheck {
    int statements = 0;      // how many were checked
    QStringList violations;  // "<problem>: <the statement's start>"
};

// Checks every statement the ODBC connections executed among the entries of a server log, with
// the values bound to it. psqlODBC's own statements and other connections (psql) are not the
// program's, and are left out.
OracleFormCheck CheckOracleForm(const QList<LogEntry>& entries,
                                const OracleFormLimits& limits = {});

}  // namespace quorvex::test
