#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace quorvex::test {

// Reading the test server's statement log (log_statement = 'all', line prefix
// '%m [%p] %q%u@%d '), shared by the tests' StatementLog and the Oracle statement rules check.

struct LogEntry {
    QString backend;  // the server process of the connection
    QString level;    // LOG, ERROR, STATEMENT, DETAIL, ...
    QString text;     // continuation lines joined with "\n"
};

struct LoggedStatement {
    QString backend;
    QString text;
    // The values bound to its $1, $2, ... as the server logged them ("DETAIL:  parameters:"):
    // a text as it is, bytes as "\x" and lower-case hex, NULL as a null QString.
    QStringList boundValues;
};

// How the log shows a bound value's type. psqlODBC writes a binary value bound as
// SQL_VARBINARY (RAW) with a cast, "$2::bytea", and one bound as SQL_LONGVARBINARY (the long
// binary bind, into a BLOB column, which is bytea here) as a plain "$2"; texts are plain "$1".
// Either binary value shows as "\x" and lower-case hex digits, which is how a bound value is
// known for bytes (a text of that form would pass for bytes: the program binds none).
bool LooksLikeLoggedBytes(const QString& boundValue);

// The entries written from byte `offset` on. A log that cannot be read fails the current test
// (when there is one) and gives no entries.
QList<LogEntry> ReadServerLog(const QString& path, std::int64_t offset);

// What psqlODBC sends on its own (at connect, for column descriptions, around statements) and
// the tests' own log markers: none of it is the program's.
bool IsDriverHousekeeping(const QString& statement);

// The executed statements among the entries: "statement:" and "execute <name>:" lines, and the
// "STATEMENT:" line of an ERROR for a statement that never got that far (one that failed to
// parse). Housekeeping is left out, and so is what psqlODBC puts in front of a statement in the
// same text (its BEGIN and savepoints). The values bound to a statement are kept with it. An
// array of parameters, which psqlODBC runs as one text of the INSERT once per row with literals
// in place of the markers, gives the INSERT once per row with $1, $2... and that row's values.
QList<LoggedStatement> ExecutedStatements(const QList<LogEntry>& entries);

// The executed statements of the connections opened through the ODBC driver, known by the
// driver's own statement at connect. Other connections (psql in the scripts, the server's own
// set-up) are left out, and so is a connection whose connect statement lies before the entries.
QList<LoggedStatement> OdbcStatements(const QList<LogEntry>& entries);

// The statement the tests send to find the end of the log ("SELECT 'quorvex-log-sync-...'").
inline const QString kLogMarkerPrefix = QStringLiteral("SELECT 'quorvex-log-sync-");

}  // namespace quorvex::test
