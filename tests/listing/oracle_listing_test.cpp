#include "data/core/failure.h"
#include "shell/table_listing.h"
#include "recording_list.h"
#include "screens/table_list_widget.h"
#include "support/test_server.h"

#include <QSet>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

class LoadOracleTablesTest : public ::testing::Test {
  protected:
    void SetUp() override { DropAllTables(); }
};

TEST_F(LoadOracleTablesTest, ListsTheSchemasTablesInTheCaseTheServerGives) {
    const QStringList created{"Customers",  "ORDERS", "lower",
                              "Mixed Case", "it's",   QString::fromUtf8("Naïve"),
                              "T2",         "T10"};
    for (const QString& name : created) {
        ServerExecute("CREATE TABLE \"" + name + "\" (id integer)");
    }
    TableListWidget list;
    list.AddItem("STALE");
    LoadOracleTables(list, TestServerLogin());

    QStringList listed;
    for (int i = 0; i < list.ListCount(); ++i) {
        listed.append(list.List(i));
    }
    EXPECT_EQ(QSet<QString>(listed.begin(), listed.end()),
              QSet<QString>(created.begin(), created.end()));
    EXPECT_EQ(listed.size(), created.size());  // the old entry was cleared
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(list.SelCount(), 0);
}

TEST_F(LoadOracleTablesTest, AnEmptySchemaGivesAnEmptyListWithoutCurrentEntry) {
    TableListWidget list;
    list.AddItem("STALE");
    list.SetListIndex(0);
    LoadOracleTables(list, TestServerLogin());
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST_F(LoadOracleTablesTest, SendsOnlyTheListingQuery) {
    ServerExecute("CREATE TABLE \"One\" (id integer)");
    StatementLog log;
    RecordingList list;
    LoadOracleTables(list, TestServerLogin());
    EXPECT_EQ(log.Since(), QStringList{"SELECT table_name FROM user_tables"});
    EXPECT_EQ(list.added, QStringList{"One"});
    EXPECT_EQ(list.clears, 1);
}

TEST_F(LoadOracleTablesTest, ABadLoginRaisesTheDriversMessageAndLeavesTheListAlone) {
    FixedFields login = TestServerLogin();
    login.password = "wrong";
    RecordingList list;
    list.AddItem("KEPT");
    try {
        LoadOracleTables(list, login);
        ADD_FAILURE() << "a wrong password listed tables";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains("password authentication failed"))
            << failure.what();
    }
    EXPECT_EQ(list.added, QStringList{"KEPT"});
}

}  // namespace
}  // namespace quorvex::test
