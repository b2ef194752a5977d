#include "transfer/list_procedures.h"
#include "screens/table_list_widget.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

// The procedures run on the tables screen's real list widget.
class ListProcedures : public ::testing::Test {
  protected:
    void Fill(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            list.AddItem(QString::fromUtf8(name));
        }
    }
    QStringList Entries() const {
        QStringList entries;
        for (int i = 0; i < list.ListCount(); ++i) {
            entries.append(list.List(i));
        }
        return entries;
    }
    TableListWidget list;
};

TEST_F(ListProcedures, ContainsIgnoresLetterCase) {
    EXPECT_FALSE(ListContains(list, QStringLiteral("ORDERS")));
    EXPECT_FALSE(ListContains(list, QString()));
    Fill({"customer", "Orders", "ZIP"});
    EXPECT_TRUE(ListContains(list, QStringLiteral("ORDERS")));
    EXPECT_TRUE(ListContains(list, QStringLiteral("orders")));
    EXPECT_TRUE(ListContains(list, QStringLiteral("zip")));
    EXPECT_FALSE(ListContains(list, QStringLiteral("ORDER")));
    EXPECT_FALSE(ListContains(list, QStringLiteral("ORDERS ")));
    EXPECT_TRUE(ListContains(list, QStringLiteral("ÖL")) == false);
    Fill({"öl"});
    EXPECT_TRUE(ListContains(list, QStringLiteral("ÖL")));
}

TEST_F(ListProcedures, RemoveTakesEveryExactMatchOnly) {
    Fill({"ORDERS", "Orders", "B", "ORDERS", "A"});
    RemoveFromList(list, QStringLiteral("ORDERS"));
    EXPECT_EQ(Entries(), QStringList({"A", "B", "Orders"}));
    RemoveFromList(list, QStringLiteral("orders"));
    EXPECT_EQ(Entries(), QStringList({"A", "B", "Orders"}));
    RemoveFromList(list, QStringLiteral("A"));
    RemoveFromList(list, QStringLiteral("B"));
    RemoveFromList(list, QStringLiteral("Orders"));
    EXPECT_EQ(list.ListCount(), 0);
    RemoveFromList(list, QStringLiteral("Orders"));
    EXPECT_EQ(list.ListCount(), 0);
}

}  // namespace
}  // namespace quorvex::test
