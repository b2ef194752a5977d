// Prints what the Oracle ODBC driver and the database tell Quorvex, read exactly as the program
// reads them (its connection string, its driver resolution, its queries):
//
//   QUORVEX_PASSWORD=... oracle_check_driver SID USER
//
// One line each: the longest table and column names the driver reports (ODBC's
// SQL_MAX_TABLE_NAME_LEN and SQL_MAX_COLUMN_NAME_LEN, 0 when it does not say), the limits Quorvex
// then works with, and the database and national character sets (NLS_CHARACTERSET,
// NLS_NCHAR_CHARACTERSET) with whether Quorvex can check names against the first.

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "data/core/connection_fields.h"
#include "data/core/connection_strings.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

namespace {

struct Login : quorvex::ConnectionFields {
    QString sid, user, password;
    QString Text1() const override { return QString(); }
    QString Text2() const override { return sid; }
    QString Text3() const override { return user; }
    QString Text4() const override { return password; }
};

void Print(const char* what, const QString& value) {
    std::printf("%-40s %s\n", what, value.toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: QUORVEX_PASSWORD=... oracle_check_driver SID USER\n");
        return 2;
    }
    Login login;
    login.sid = QString::fromLocal8Bit(argv[1]);
    login.user = QString::fromLocal8Bit(argv[2]);
    login.password = qEnvironmentVariable("QUORVEX_PASSWORD");
    try {
        quorvex::Connection connection;
        connection.Open(quorvex::OracleConnectionString(login));
        Print("driver: longest table name (bytes)",
              QString::number(connection.MaxTableNameLength()));
        Print("driver: longest column name (bytes)",
              QString::number(connection.MaxColumnNameLength()));
        quorvex::OracleDatabaseRules rules;
        try {
            quorvex::ReadOracleDatabaseRules(connection, rules);
        } catch (const std::exception& failure) {
            Print("character sets: not read", QString::fromUtf8(failure.what()));
        }
        Print("Quorvex: longest table name (bytes)", QString::number(rules.longestTableName));
        Print("Quorvex: longest column name (bytes)", QString::number(rules.longestColumnName));
        const quorvex::OracleCharacterSet& set = rules.characterSet;
        Print("NLS_CHARACTERSET",
              set.name() + (set.isUnicode()        ? QStringLiteral(" (Unicode)")
                            : set.onlyAsciiKnown() ? QStringLiteral(" (only ASCII names)")
                            : set.isKnown()        ? QStringLiteral(" (checked)")
                                                   : QStringLiteral(" (not checked)")));
        Print("NLS_NCHAR_CHARACTERSET", rules.nationalCharacterSet);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "oracle_check_driver: %s\n", failure.what());
        return 1;
    }
    return 0;
}
