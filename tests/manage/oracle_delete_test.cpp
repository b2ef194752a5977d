// "Delete Table/s" on the Oracle side, against the real test server through the real ODBC stack.

#include "manage/table_commands.h"
#include "manage_support.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

QStringList ServerTables() {
    QStringList names;
    for (const QStringList& row :
         ServerQuery(QStringLiteral("SELECT table_name FROM user_tables"))) {
        names.append(row.value(0));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CreateTables(const QStringList& names) {
    for (const QString& name : names) {
        ServerExecute(QStringLiteral("CREATE TABLE \"%1\" (ID INTEGER)").arg(name));
    }
}

const QString kLabel = QStringLiteral("Form2.PushButton1_Click");

class OracleDeleteTest : public ::testing::Test {
  protected:
    void SetUp() override { DropAllTables(); }

    ScreenUnderTest ui{TestServerLogin()};
    const std::vector<int> hourglassThenArrow{vbHourglass, vbDefault};
};

TEST_F(OracleDeleteTest, DropsEverySelectedTableFromTheBottomUp) {
    CreateTables({"T1", "T2", "T3", "T4", "T5"});
    Fill(ui.List1, {"T1", "T2", "T3", "T4", "T5"});
    SelectEntries(ui.List1, {"T2", "T4"});

    const StatementLog log;
    DeleteOracleTables(ui.screen);

    EXPECT_EQ(log.Since(), (QStringList{"DROP TABLE \"T4\"", "DROP TABLE \"T2\""}));
    EXPECT_EQ(Entries(ui.List1), (QStringList{"T1", "T3", "T5"}));
    EXPECT_EQ(ServerTables(), (QStringList{"T1", "T3", "T5"}));
    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(OracleDeleteTest, ANameTheDatabaseCharacterSetCannotHoldIsNeverSent) {
    // Oracle would turn "日本" into replacement characters and might drop another table.
    const DeclaredCharacterSet windows(QStringLiteral("WE8MSWIN1252"));
    CreateTables({"Ærø"});
    Fill(ui.List1, {"Ærø", "日本"});
    SelectEntries(ui.List1, {"Ærø", "日本"});

    const StatementLog log;
    DeleteOracleTables(ui.screen);

    EXPECT_EQ(log.Since(), QStringList{"DROP TABLE \"Ærø\""});
    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].line, 116);
    EXPECT_EQ(Entries(ui.List1), QStringList{"日本"});
    EXPECT_TRUE(failures[0].description.contains(QStringLiteral("WE8MSWIN1252")))
        << failures[0].description.toStdString();
    EXPECT_TRUE(ServerTables().isEmpty());
}

TEST_F(OracleDeleteTest, NamesGoBetweenQuotesExactlyAsListed) {
    CreateTables({"lower case", "MiXed"});
    Fill(ui.List1, {"lower case", "MiXed", "A\"B"});
    SelectEntries(ui.List1, {"lower case", "MiXed", "A\"B"});

    const StatementLog log;
    DeleteOracleTables(ui.screen);

    // A name holding a quote would make a malformed statement: none is sent, the refusal is
    // reported, and its entry stays.
    EXPECT_EQ(log.Since(), (QStringList{"DROP TABLE \"MiXed\"", "DROP TABLE \"lower case\""}));
    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].label, kLabel);
    EXPECT_EQ(failures[0].line, 116);
    EXPECT_TRUE(failures[0].description.contains(QStringLiteral("A\"B contains a double quote")))
        << failures[0].description.toStdString();
    EXPECT_EQ(Entries(ui.List1), QStringList{"A\"B"});
    EXPECT_TRUE(ServerTables().isEmpty());
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(OracleDeleteTest, RefusedDropsKeepTheirEntriesAndAreNamedInOneReport) {
    CreateTables({"KEEP", "T1"});
    Fill(ui.List1, {"GONE", "KEEP", "MISSING", "T1"});
    SelectEntries(ui.List1, {"GONE", "MISSING", "T1"});

    DeleteOracleTables(ui.screen);

    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].label, kLabel);
    EXPECT_EQ(failures[0].line, 116);
    const QString& text = failures[0].description;
    EXPECT_TRUE(text.startsWith(QStringLiteral("2 selected tables were not deleted:\nGONE: ")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("table \"MISSING\" does not exist")))
        << text.toStdString();
    EXPECT_EQ(Entries(ui.List1), (QStringList{"GONE", "KEEP", "MISSING"}));
    EXPECT_EQ(ServerTables(), QStringList{"KEEP"});
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(OracleDeleteTest, WithoutACurrentEntryItAsksForASelectionAndDropsNothing) {
    CreateTables({"T1"});
    for (const QStringList& names : {QStringList{}, QStringList{"T1"}}) {
        ScreenUnderTest fresh{TestServerLogin()};
        Fill(fresh.List1, names);
        ASSERT_EQ(fresh.List1.ListIndex(), -1);

        const StatementLog log;
        DeleteOracleTables(fresh.screen);

        EXPECT_TRUE(log.Since().isEmpty());
        EXPECT_EQ(PlainMessages(fresh.dialogs), QStringList{"Please select a table"});
        EXPECT_TRUE(ReportedFailures(fresh.dialogs).empty());
        EXPECT_EQ(Entries(fresh.List1), names);
        EXPECT_EQ(fresh.pointer.history, hourglassThenArrow);
    }
    EXPECT_EQ(ServerTables(), QStringList{"T1"});
}

TEST_F(OracleDeleteTest, ACurrentEntryWithoutASelectionChangesNothing) {
    CreateTables({"T1", "T2"});
    Fill(ui.List1, {"T1", "T2"});
    ui.List1.SetListIndex(1);

    DeleteOracleTables(ui.screen);

    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(Entries(ui.List1), (QStringList{"T1", "T2"}));
    EXPECT_EQ(ServerTables(), (QStringList{"T1", "T2"}));
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(OracleDeleteTest, AFailedLoginIsReportedOnceAndNoDropIsTried) {
    CreateTables({"T1", "T2"});
    ui.fields.password = QStringLiteral("wrong");
    Fill(ui.List1, {"T1", "T2"});
    SelectEntries(ui.List1, {"T1", "T2"});

    DeleteOracleTables(ui.screen);

    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].label, kLabel);
    EXPECT_EQ(failures[0].line, 104);
    EXPECT_TRUE(failures[0].description.contains(QStringLiteral("password authentication failed")))
        << failures[0].description.toStdString();
    EXPECT_EQ(Entries(ui.List1), (QStringList{"T1", "T2"}));
    EXPECT_EQ(ServerTables(), (QStringList{"T1", "T2"}));
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);

    // With nothing selected the connection is still opened first: its failure, then the message.
    ScreenUnderTest empty{ui.fields};
    DeleteOracleTables(empty.screen);
    ASSERT_EQ(ReportedFailures(empty.dialogs).size(), 1u);
    EXPECT_EQ(ReportedFailures(empty.dialogs)[0].line, 104);
    EXPECT_EQ(empty.dialogs.boxes.back().text, QStringLiteral("Please select a table"));
}

}  // namespace
}  // namespace quorvex::test
