#include "data/access/connection.h"
#include "data/core/failure.h"
#include "data/oracle/oracle_character_set.h"
#include "support/oracle_statement_rules.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quorvex::test {
namespace {

// The log reader is what the other areas' tests assert on, so its rules are pinned down here.

TEST(StatementLog, ConnectingAloneLeavesNothingOfTheDriversHousekeeping) {
    const StatementLog log;
    Connection connection;
    connection.SetCursorLocation(adUseClient);
    connection.Open(TestServerConnectionString());
    EXPECT_EQ(log.Since(), QStringList());
}

TEST(StatementLog, ListsStatementsInOrderWithLineBreaksKept) {
    Connection connection;
    connection.SetCursorLocation(adUseClient);
    connection.Open(TestServerConnectionString());
    const StatementLog log;
    const QString twoLines = QStringLiteral("SELECT 1\n  + 2 AS \"THREE\"");
    connection.Execute(QStringLiteral("SELECT 'first'"));
    Recordset rows;
    rows.Open(twoLines, connection);
    connection.Execute(QStringLiteral("SELECT 'last'"));
    EXPECT_EQ(log.Since(), (QStringList{QStringLiteral("SELECT 'first'"), twoLines,
                                        QStringLiteral("SELECT 'last'")}));
}

TEST(StatementLog, ARefusedStatementIsListedOnceAndOneThatFailedToParseToo) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    const StatementLog log;
    EXPECT_THROW(connection.Execute(QStringLiteral("DROP TABLE \"NOT THERE\"")), Failure);
    EXPECT_THROW(connection.Execute(QStringLiteral("RENAME \"X\" TO \"Y\"")), Failure);
    EXPECT_EQ(log.Since(), (QStringList{QStringLiteral("DROP TABLE \"NOT THERE\""),
                                        QStringLiteral("RENAME \"X\" TO \"Y\"")}));
}

TEST(StatementLog, TwoLogsSeeOnlyWhatCameAfterEachWasMade) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    const StatementLog early;
    connection.Execute(QStringLiteral("SELECT 'a'"));
    const StatementLog late;
    connection.Execute(QStringLiteral("SELECT 'b'"));
    EXPECT_EQ(late.Since(), QStringList{QStringLiteral("SELECT 'b'")});
    EXPECT_EQ(early.Since(),
              (QStringList{QStringLiteral("SELECT 'a'"), QStringLiteral("SELECT 'b'")}));
}

TEST(OracleStatementRules, NameWhatOracleRefusesForItsFormAndNothingElse) {
    const auto insert = [](const QString& literal) {
        return QStringLiteral("INSERT INTO \"T\" VALUES('") + literal + QStringLiteral("', NULL)");
    };
    for (const QString& fine : {
             insert(QString(4000, u'x')),
             insert(QString(2000, QChar(0xFC))),                     // 4,000 bytes in UTF-8
             insert(QString(3998, u'x') + QStringLiteral("''")),     // a doubled quote counts once
             insert(QStringLiteral("it''s; DROP TABLE \"X\"; --")),  // all inside the literal
             QStringLiteral("DROP TABLE \"") + QString(128, u'N') + u'"',
             QStringLiteral("INSERT INTO \"T\" VALUES($1::bytea, '1') -- a; b"),
         }) {
        EXPECT_EQ(OracleFormProblem(fine), QString()) << fine.left(80).toStdString();
    }
    for (const QString& refused : {
             insert(QString(4001, u'x')),
             insert(QString(2000, QChar(0xFC)) + u'x'),
             insert(QString(3999, u'x') + QStringLiteral("''''")),
             QStringLiteral("DROP TABLE \"A\"; DROP TABLE \"B\""),
             QStringLiteral("SELECT 1;"),
             QStringLiteral("DROP TABLE \"") + QString(129, u'N') + u'"',
             QStringLiteral("DROP TABLE \"A\"B\""),
             QStringLiteral("RENAME \"OLD\" TO \"it's \"quoted\"\""),
             QStringLiteral("INSERT INTO \"T\" VALUES('never closed)"),
         }) {
        EXPECT_NE(OracleFormProblem(refused), QString()) << refused.left(80).toStdString();
    }
}

TEST(OracleStatementRules, FollowTheDeclaredCharacterSetNameLimitAndBindOrder) {
    const OracleFormLimits old{OracleCharacterSet(QStringLiteral("WE8MSWIN1252")), 30};
    const QString fine = QStringLiteral("INSERT INTO \"Straße\" VALUES('Ærø', $1)");
    EXPECT_EQ(OracleFormProblem(fine, old), QString());
    EXPECT_NE(OracleFormProblem(QStringLiteral("INSERT INTO \"T\" VALUES('日本')"), old),
              QString());
    EXPECT_NE(OracleFormProblem(QStringLiteral("DROP TABLE \"日本\""), old), QString());
    EXPECT_EQ(OracleFormProblem(QStringLiteral("DROP TABLE \"") + QString(30, u'N') + u'"', old),
              QString());
    EXPECT_TRUE(OracleFormProblem(QStringLiteral("DROP TABLE \"") + QString(31, u'N') + u'"', old)
                    .contains(QStringLiteral("31 bytes (at most 30)")));

    const QString picture = QStringLiteral("\\x") + QString(4002, u'a');  // 2,001 bytes
    const QString smallPicture = QStringLiteral("\\x") + QString(4000, u'a');
    const auto bindProblem = [](const QString& text, const QStringList& values) {
        return OracleBindProblem({QString(), text, values});
    };
    const QString two = QStringLiteral("INSERT INTO \"T\" VALUES($1, $2)");
    EXPECT_EQ(bindProblem(two, {QStringLiteral("memo"), picture}), QString());
    EXPECT_EQ(bindProblem(two, {smallPicture, QStringLiteral("memo")}), QString());
    EXPECT_TRUE(bindProblem(two, {picture, QStringLiteral("memo")}).contains("ORA-24816"));
    EXPECT_TRUE(bindProblem(QStringLiteral("INSERT INTO \"T\" VALUES($1::bytea)"), {picture})
                    .contains("SQL_VARBINARY"));
    EXPECT_TRUE(bindProblem(two, {QString(2001, QChar(0xFC)), picture}).contains("ORA-22295"));
}

TEST(OracleStatementRules, OnlyTheOdbcConnectionsOfALogAreChecked) {
    const QString longLiteral = u'\'' + QString(4001, u'x') + u'\'';
    const auto line = [](int pid, const QString& text) {
        return QStringLiteral("2026-01-01 10:00:00.000 UTC [%1] scott@scott LOG:  %2\n")
            .arg(pid)
            .arg(text);
    };
    const QString connect = QStringLiteral(
        "statement: SET DateStyle = 'ISO';SET extra_float_digits = 2;show transaction_isolation");
    QTemporaryDir folder;
    QFile log(folder.filePath(QStringLiteral("postgres.log")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write((line(7, QStringLiteral("statement: SELECT 1; SELECT ") + longLiteral) +  // psql
               line(8, connect) + line(8, QStringLiteral("statement: SELECT 2")) +
               line(8, QStringLiteral("execute <unnamed>: SELECT $1")) +
               line(8, QStringLiteral("disconnection: session time: 0:00:00.010")) +
               line(8, QStringLiteral("statement: SELECT 3; SELECT 4")) +  // psql, same process
               line(9, connect) + line(9, QStringLiteral("statement: SELECT ") + longLiteral))
                  .toUtf8());
    log.close();

    const OracleFormCheck check = CheckOracleForm(ReadServerLog(log.fileName(), 0));
    EXPECT_EQ(check.statements, 3);
    ASSERT_EQ(check.violations.size(), 1);
    EXPECT_TRUE(check.violations[0].contains(QStringLiteral("4001 bytes")))
        << check.violations[0].toStdString();
}

}  // namespace
}  // namespace quorvex::test
