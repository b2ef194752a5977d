#include "data/core/connection_string_parser.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

TEST(ConnectionStringParser, SplitsPairsInOrderAndDropsTheBracesOfABracedValue) {
    const QList<ConnectionAttribute> pairs = ParseConnectionString(
        QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=orcl;Uid=scott;Pwd=tiger;"));
    ASSERT_EQ(pairs.size(), 4);
    EXPECT_EQ(pairs[0].key, QStringLiteral("Driver"));
    EXPECT_EQ(pairs[0].value, QStringLiteral("Microsoft ODBC for Oracle"));
    EXPECT_EQ(pairs[1].value, QStringLiteral("orcl"));
    EXPECT_EQ(pairs[3].key, QStringLiteral("Pwd"));
    EXPECT_EQ(pairs[3].value, QStringLiteral("tiger"));
}

TEST(ConnectionStringParser, ABracedValueMayHoldSemicolonsAndEqualsSigns) {
    const QString text = QStringLiteral("Driver={a;b=c};Dbq=/x");
    EXPECT_EQ(ConnectionStringValue(text, QStringLiteral("driver")), QStringLiteral("a;b=c"));
    EXPECT_EQ(ConnectionStringValue(text, QStringLiteral("DBQ")), QStringLiteral("/x"));
}

TEST(ConnectionStringParser, ValuesAreTakenAsWrittenWithoutTrimming) {
    const QString text = QStringLiteral("DefaultDir= /data/ ;Pwd=a=b");
    EXPECT_EQ(ConnectionStringValue(text, QStringLiteral("DefaultDir")),
              QStringLiteral(" /data/ "));
    EXPECT_EQ(ConnectionStringValue(text, QStringLiteral("Pwd")), QStringLiteral("a=b"));
}

TEST(ConnectionStringParser, KeysMatchIgnoringCaseAndTheFirstOfRepeatedKeysWins) {
    const QString text = QStringLiteral("UID=first;uid=second");
    EXPECT_EQ(ConnectionStringValue(text, QStringLiteral("Uid")), QStringLiteral("first"));
}

TEST(ConnectionStringParser, AMissingKeyIsNullAndAnEmptyValueIsNot) {
    const QString text = QStringLiteral("Server=;Uid=scott");
    EXPECT_TRUE(ConnectionStringValue(text, QStringLiteral("Pwd")).isNull());
    const QString server = ConnectionStringValue(text, QStringLiteral("Server"));
    EXPECT_FALSE(server.isNull());
    EXPECT_TRUE(server.isEmpty());
}

TEST(ConnectionStringParser, AnUnclosedBraceTakesTheRestOfTheString) {
    EXPECT_EQ(ConnectionStringValue(QStringLiteral("Driver={open;Uid=x"), QStringLiteral("Driver")),
              QStringLiteral("open;Uid=x"));
    EXPECT_TRUE(ConnectionStringValue(QStringLiteral("Driver={open;Uid=x"), QStringLiteral("Uid"))
                    .isNull());
}

TEST(ConnectionStringParser, SegmentsWithoutAKeyAndEqualsSignAreLeftOut) {
    EXPECT_TRUE(ParseConnectionString(QString()).isEmpty());
    EXPECT_TRUE(ParseConnectionString(QStringLiteral("no pairs at all;;;")).isEmpty());
    const QList<ConnectionAttribute> pairs =
        ParseConnectionString(QStringLiteral(";;junk;=nokey;Uid=scott;trailing"));
    ASSERT_EQ(pairs.size(), 1);
    EXPECT_EQ(pairs[0].key, QStringLiteral("Uid"));
}

}  // namespace
}  // namespace quorvex::test
