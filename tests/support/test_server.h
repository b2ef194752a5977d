#pragma once

#include "support/recording_ui.h"

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

// The statements the server executed, read from its log: construct before the action, then
// Since() lists what was executed after that point (continuation lines joined with "\n").
// Statements the ODBC driver sends by itself at connect are left out.
class StatementLog {
public:
    StatementLog();
    QStringList Since() const;

private:
    std::int64_t start_ = 0;
};

}  // namespace quorvex::test
