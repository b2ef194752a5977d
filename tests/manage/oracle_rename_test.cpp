// "Rename Table" on the Oracle side, against the real test server. The server is not Oracle and
// refuses RENAME, so what is checked is the statement it received, the refusal's report and the
// list update that follows either way.

#include "manage/table_commands.h"
#include "manage_support.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

const QString kLabel = QStringLiteral("Form2.PushButton6_Click");

class OracleRenameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DropAllTables();
        ServerExecute(QStringLiteral("CREATE TABLE \"OLD\" (ID INTEGER)"));
    }

    ScreenUnderTest ui{TestServerLogin()};
    const std::vector<int> hourglassThenArrow{vbHourglass, vbDefault};
};

TEST_F(OracleRenameTest, SendsTheRenameStatementAndReplacesTheEntry) {
    Fill(ui.List1, {"A", "OLD", "Z"});
    SelectEntries(ui.List1, {"OLD"});
    ui.dialogs.QueueInput(QStringLiteral("New Name"));

    const StatementLog log;
    RenameOracleTable(ui.screen);

    EXPECT_EQ(log.Since(), QStringList{"RENAME \"OLD\" TO \"New Name\""});
    ASSERT_EQ(ui.dialogs.prompts.size(), 1u);
    EXPECT_EQ(ui.dialogs.prompts[0].prompt, QStringLiteral("Enter new name of OLD:"));
    EXPECT_TRUE(ui.dialogs.prompts[0].title.isEmpty());
    EXPECT_EQ(ui.dialogs.prompts[0].defaultText, QStringLiteral("OLD"));

    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].label, kLabel);
    EXPECT_EQ(failures[0].line, 120);
    EXPECT_TRUE(
        failures[0].description.contains(QStringLiteral("syntax error at or near \"RENAME\"")))
        << failures[0].description.toStdString();

    EXPECT_EQ(Entries(ui.List1), (QStringList{"A", "New Name", "Z"}));
    EXPECT_EQ(ui.List1.ListIndex(), 0);
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(OracleRenameTest, TheTypedNameGoesIntoTheStatementExactlyAsTypedUnlessOracleRefusesIt) {
    // The last two names the server would refuse (a double quote inside; 64 bytes, one more than
    // the test server's driver says a name holds): they are reported without a statement. The
    // server refuses RENAME itself, so each is reported.
    const QStringList typed = {QStringLiteral("  spaced  name "), QStringLiteral("it's"),
                               QStringLiteral("a/b\\c"),          QStringLiteral("Ünïcödé 表"),
                               QStringLiteral("lower"),           LongName(63),
                               QStringLiteral("it's \"quoted\""), LongName(64)};
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QString& newName = typed[i];
        const bool sent = i < typed.size() - 2;
        ScreenUnderTest fresh{TestServerLogin()};
        Fill(fresh.List1, {"OLD"});
        SelectEntries(fresh.List1, {"OLD"});
        fresh.dialogs.QueueInput(newName);

        const StatementLog log;
        RenameOracleTable(fresh.screen);

        EXPECT_EQ(log.Since(),
                  sent ? QStringList{"RENAME \"OLD\" TO \"" + newName + "\""} : QStringList());
        const std::vector<ReportedFailure> failures = ReportedFailures(fresh.dialogs);
        ASSERT_EQ(failures.size(), 1u) << newName.toStdString();
        EXPECT_EQ(failures[0].line, 120);
        EXPECT_EQ(failures[0].description.contains(QStringLiteral("the table is not renamed")),
                  !sent);
        EXPECT_EQ(Entries(fresh.List1), QStringList{newName});
    }
}

TEST_F(OracleRenameTest, ANewNameTheDatabaseCharacterSetCannotHoldIsRefused) {
    const DeclaredCharacterSet ascii(QStringLiteral("US7ASCII"));
    Fill(ui.List1, {"OLD"});
    SelectEntries(ui.List1, {"OLD"});
    ui.dialogs.QueueInput(QStringLiteral("Größe"));

    const StatementLog log;
    RenameOracleTable(ui.screen);

    EXPECT_TRUE(log.Since().isEmpty());
    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_TRUE(failures[0].description.contains(
        QStringLiteral("\"ö\" (U+00F6), which the database character set US7ASCII cannot hold; "
                       "the table is not renamed")))
        << failures[0].description.toStdString();
}

TEST_F(OracleRenameTest, AcceptingTheOfferedNameSendsARenameOntoItself) {
    Fill(ui.List1, {"OLD"});
    SelectEntries(ui.List1, {"OLD"});
    ui.dialogs.QueueInput(QStringLiteral("OLD"));

    const StatementLog log;
    RenameOracleTable(ui.screen);

    EXPECT_EQ(log.Since(), QStringList{"RENAME \"OLD\" TO \"OLD\""});
    EXPECT_EQ(ReportedFailures(ui.dialogs).size(), 1u);
    EXPECT_EQ(Entries(ui.List1), QStringList{"OLD"});
}

TEST_F(OracleRenameTest, CancelRenamesNothingAndSaysNothing) {
    Fill(ui.List1, {"A", "OLD"});
    SelectEntries(ui.List1, {"OLD"});
    // No queued answer: the input box gives "", as Cancel does.

    const StatementLog log;
    RenameOracleTable(ui.screen);

    EXPECT_TRUE(log.Since().isEmpty());
    EXPECT_EQ(ui.dialogs.prompts.size(), 1u);
    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(Entries(ui.List1), (QStringList{"A", "OLD"}));
    EXPECT_EQ(SelectedEntries(ui.List1), QStringList{"OLD"});
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(OracleRenameTest, AsksForExactlyOneSelectedTable) {
    struct Case {
        QStringList selected;
        int current;  // -1: no current entry
        QString message;
    };
    const std::vector<Case> cases = {
        {{}, -1, QStringLiteral("Please select a table to rename.")},
        {{"A", "OLD"}, 1, QStringLiteral("Please select just one table to rename.")},
        {{}, 0, QStringLiteral("Please select just one table to rename.")},
    };
    for (const Case& c : cases) {
        ScreenUnderTest fresh{TestServerLogin()};
        Fill(fresh.List1, {"A", "OLD"});
        SelectEntries(fresh.List1, c.selected);
        fresh.List1.SetListIndex(c.current);
        fresh.dialogs.QueueInput(QStringLiteral("NEW"));

        const StatementLog log;
        RenameOracleTable(fresh.screen);

        EXPECT_TRUE(log.Since().isEmpty());
        EXPECT_EQ(PlainMessages(fresh.dialogs), QStringList{c.message});
        EXPECT_TRUE(fresh.dialogs.prompts.empty());
        EXPECT_EQ(Entries(fresh.List1), (QStringList{"A", "OLD"}));
        EXPECT_EQ(fresh.pointer.history, hourglassThenArrow);
    }
}

TEST_F(OracleRenameTest, AFailedLoginIsReportedAndTheRenameOnTheClosedConnectionToo) {
    ui.fields.password = QStringLiteral("wrong");
    Fill(ui.List1, {"OLD"});
    SelectEntries(ui.List1, {"OLD"});
    ui.dialogs.QueueInput(QStringLiteral("NEW"));

    RenameOracleTable(ui.screen);

    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].line, 104);
    EXPECT_TRUE(failures[0].description.contains(QStringLiteral("password authentication failed")));
    EXPECT_EQ(failures[1].line, 120);
    EXPECT_EQ(Entries(ui.List1), QStringList{"NEW"});
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

}  // namespace
}  // namespace quorvex::test
