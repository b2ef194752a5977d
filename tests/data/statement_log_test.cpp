#include "data/connection.h"
#include "data/failure.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvex::test
