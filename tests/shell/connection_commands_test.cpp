#include "shell/connection_commands.h"
#include "recording_screen.h"
#include "shell/error_report.h"
#include "support/scripted_dialogs.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quorvex::test {
namespace {

class ConnectionCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        QFile table(folder.filePath(QStringLiteral("ORDERS.DB")));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
        screen.folder = folder.path();
        screen.sid = TestServerSid();
        screen.user = QStringLiteral("scott");
        screen.password = QStringLiteral("tiger");
    }
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    RecordingScreen screen;
};

TEST_F(ConnectionCommands, NextRefreshesShowsAndHidesWithTheHourglassAround) {
    GoToTablesScreen(screen, dialogs);
    EXPECT_EQ(screen.calls,
              (QStringList{"RefreshTablesScreen", "ShowTablesScreen", "HideConnectionScreen"}));
    EXPECT_EQ(screen.pointer.history, (std::vector<int>{vbHourglass, vbDefault}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ConnectionCommands, NextStillShowsTheTablesScreenWhenItsRefreshFails) {
    screen.failing << QStringLiteral("RefreshTablesScreen");
    GoToTablesScreen(screen, dialogs);
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_EQ(dialogs.Errors()[0].text,
              ApplicationErrorText(QStringLiteral("Form1.PushButton2_Click"), 106,
                                   QStringLiteral("RefreshTablesScreen failed")));
    EXPECT_EQ(screen.calls,
              (QStringList{"RefreshTablesScreen", "ShowTablesScreen", "HideConnectionScreen"}));
    EXPECT_EQ(screen.pointer.state, vbDefault);
}

TEST_F(ConnectionCommands, OracleTestAnswersEachOutcomeAndRestoresThePointer) {
    TestOracleConnection(screen, dialogs);
    screen.password = QStringLiteral("wrong");
    TestOracleConnection(screen, dialogs);
    QTemporaryDir noServer;  // a socket folder where no server listens
    screen.password = QStringLiteral("tiger");
    screen.sid = noServer.path();
    TestOracleConnection(screen, dialogs);
    EXPECT_EQ(dialogs.Texts(),
              (QStringList{kConnectionSuccessful, kOracleCouldNotConnect, kOracleCouldNotConnect}));
    for (const auto& box : dialogs.boxes) {
        EXPECT_EQ(box.buttons, vbOKOnly);
        EXPECT_EQ(box.title, QString());
    }
    EXPECT_EQ(screen.pointer.history, (std::vector<int>{vbHourglass, vbDefault, vbHourglass,
                                                        vbDefault, vbHourglass, vbDefault}));
}

TEST_F(ConnectionCommands, SampleFolderIsTheProgramFolderPlusSamplesByPlainAppending) {
    screen.programFolder = QStringLiteral("/");
    LoadSampleDatabase(screen, dialogs);
    EXPECT_EQ(screen.folder, QStringLiteral("//Samples"));
    screen.programFolder = QStringLiteral("/opt/quorvex");
    LoadSampleDatabase(screen, dialogs);
    EXPECT_EQ(screen.folder, QStringLiteral("/opt/quorvex/Samples"));
}

}  // namespace
}  // namespace quorvex::test
