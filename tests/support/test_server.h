#pragma once

#include "data/oracle/oracle_character_set.h"
#include "support/recording_ui.h"
#include "support/server_log.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace quorvex::test {

// The throwaway database server that the test command (scripts/run-tests.sh) starts. It is
// reached exactly as the program reaches Oracle: ODBC driver "Microsoft ODBC for Oracle",
// SID = the server's socket folder, user "scott", password "tiger". The test command exports
// ODBCSYSINI, QUORVEX_TEST_SID and QUORVEX_TEST_LOG (the server's statement log).

// The SID of the test server; fails the current test when the test command did not start one.
QString TestServerSid();

// The server's statement log (QUORVEX_TEST_LOG), and its size in bytes now; both fail the
// current test when the test command did not start a server.
QString TestServerLogPath();
std::int64_t TestServerLogSize();

// Connection fields holding the test server's login and the given Paradox folder.
FixedFields TestServerLogin(const QString& paradoxFolder = QString());

// The program's connection string for the test server's login.
QString TestServerConnectionString();

// Runs one statement as scott on the test server; throws Failure with the server's message.
void ServerExecute(const QString& sql);

// Runs a query as scott; each row's values as text (NULL as a null QString).
QList<QStringList> ServerQuery(const QString& sql);

// Drops every table of scott's schema, so each test starts from an empty schema.
void DropAllTables();

// While it lives, the test server declares another database character set: its
// nls_database_parameters view answers `oracleName` for NLS_CHARACTERSET instead of AL32UTF8,
// and `national` for NLS_NCHAR_CHARACTERSET.
class DeclaredCharacterSet {
  public:
    explicit DeclaredCharacterSet(const QString& oracleName,
                                  const QString& national = QStringLiteral("AL16UTF16"));
    ~DeclaredCharacterSet();
    DeclaredCharacterSet(const DeclaredCharacterSet&) = delete;
    DeclaredCharacterSet& operator=(const DeclaredCharacterSet&) = delete;

    OracleCharacterSet characterSet() const { return OracleCharacterSet(name_); }

  private:
    QString name_;
};

// Every entry the server logged from byte `offset` on, up to and including everything executed
// before this call (a marker statement of its own shows where that is).
QList<LogEntry> ServerLogEntriesSince(std::int64_t offset);

// The statements the server executed, read from its log: construct before the action, then
// Since() lists what was executed after that point (continuation lines joined with "\n").
// Statements the ODBC driver sends by itself at connect are left out, and so is the query for the
// database's character sets that every Oracle command makes right after it connects
// (kCharacterSetQuery): the tests of what a command sends look past it.
class StatementLog {
  public:
    StatementLog();
    QStringList Since() const;
    // The same statements with the values bound to them.
    QList<LoggedStatement> SinceWithBoundValues() const;
    // The same with the character set queries.
    QList<LoggedStatement> SinceWithCharacterSetQueries() const;

  private:
    std::int64_t start_ = 0;
};

}  // namespace quorvex::test
