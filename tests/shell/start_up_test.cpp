#include "shell/start_up.h"
#include "recording_screen.h"
#include "shell/connection_settings.h"
#include "shell/error_report.h"
#include "support/isolated_settings.h"
#include "support/scripted_dialogs.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quorvex::test {
namespace {

const QString kLabel = QStringLiteral("Form1.Form_Load");

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

// Stores the four connection fields as a previous run would have left them.
void StoreFields(const QString& folder, const QString& sid, const QString& user,
                 const QString& password) {
    SaveConnectionSetting(kParadoxFolderKey, folder);
    SaveConnectionSetting(kServerKey, sid);
    SaveConnectionSetting(kUserKey, user);
    SaveConnectionSetting(kPasswordKey, password);
}

class StartUp : public ::testing::Test {
  protected:
    IsolatedSettings settings;
    ScriptedDialogs dialogs;
    RecordingScreen screen;
};

TEST_F(StartUp, FirstRunDressesTheWindowFillsEmptyFieldsAndStaysQuietly) {
    RunStartUp(screen, dialogs);
    EXPECT_EQ(screen.calls, (QStringList{"ApplySkin", "CenterForm", "SetCaptionAndIcon", "SetText1",
                                         "SetText2", "SetText3", "SetText4"}));
    EXPECT_EQ(screen.folder, QString());
    EXPECT_EQ(screen.password, QString());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(StartUp, DamagedSkinIsReportedAtLine100AndTheRestStillRuns) {
    screen.failing << QStringLiteral("ApplySkin");
    StoreFields(QStringLiteral("/x"), QStringLiteral("S"), QStringLiteral("U"),
                QStringLiteral("P"));
    RunStartUp(screen, dialogs);
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_EQ(dialogs.Errors()[0].text,
              ApplicationErrorText(kLabel, 100, QStringLiteral("ApplySkin failed")));
    EXPECT_TRUE(screen.calls.contains(QStringLiteral("CenterForm")));
    EXPECT_EQ(screen.password, QStringLiteral("P"));
}

TEST_F(StartUp, CenteringFailureIsReportedUnderTheStartUpAtLine102) {
    screen.failing << QStringLiteral("ApplySkin") << QStringLiteral("CenterForm");
    RunStartUp(screen, dialogs);
    const auto errors = dialogs.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text,
              ApplicationErrorText(kLabel, 100, QStringLiteral("ApplySkin failed")));
    EXPECT_EQ(errors[1].text,
              ApplicationErrorText(kLabel, 102, QStringLiteral("CenterForm failed")));
    EXPECT_TRUE(screen.calls.contains(QStringLiteral("SetCaptionAndIcon")));
}

TEST_F(StartUp, LoadsTheHandCursorOnlyWhenTheFileIsThere) {
    QTemporaryDir program;
    screen.programFolder = program.path();
    RunStartUp(screen, dialogs);
    EXPECT_FALSE(screen.calls.join(QLatin1Char('|')).contains(QStringLiteral("LoadMouseIcon")));

    // Found ignoring case, loaded by the path as the program spells it.
    Touch(program.filePath(QStringLiteral("hand-m.cur")));
    screen.calls.clear();
    RunStartUp(screen, dialogs);
    EXPECT_TRUE(screen.calls.contains(QStringLiteral("LoadMouseIcon ") + program.path() +
                                      QStringLiteral("/HAND-M.CUR")));
}

TEST_F(StartUp, CursorThatCannotBeLoadedIsReportedAtLine126) {
    QTemporaryDir program;
    Touch(program.filePath(QStringLiteral("HAND-M.CUR")));
    screen.programFolder = program.path();
    screen.failing << QStringLiteral("LoadMouseIcon");
    RunStartUp(screen, dialogs);
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_TRUE(dialogs.Errors()[0].text.contains(QStringLiteral("Form1.Form_Load at line 126")));
    EXPECT_TRUE(screen.calls.contains(QStringLiteral("SetText4")));
}

// Against the real test server: the saved folder holds a table and the saved login connects.
TEST_F(StartUp, MovesOnByItselfWhenTheFolderHoldsTablesAndTheLoginConnects) {
    QTemporaryDir folder;
    Touch(folder.filePath(QStringLiteral("CUSTOMER.DB")));
    StoreFields(folder.path(), TestServerSid(), QStringLiteral("scott"), QStringLiteral("tiger"));
    RunStartUp(screen, dialogs);
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_GE(screen.calls.size(), 2);
    EXPECT_EQ(screen.calls.mid(screen.calls.size() - 2),
              (QStringList{"ShowTablesScreen", "HideConnectionScreen"}));
}

TEST_F(StartUp, StaysQuietlyWhenTheTablesLieOnlyInSubfolders) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    Touch(folder.filePath(QStringLiteral("sub/a.db")));
    StoreFields(folder.path(), TestServerSid(), QStringLiteral("scott"), QStringLiteral("tiger"));
    RunStartUp(screen, dialogs);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(screen.calls.contains(QStringLiteral("ShowTablesScreen")));
}

// A folder text the directory search rejects: reported at line 136, after which the Oracle test
// runs as if the folder test had passed, and a login that connects opens the tables screen.
TEST_F(StartUp, FolderSearchFailureIsReportedAtLine136AndTheOracleTestStillDecides) {
    StoreFields(QStringLiteral("/tmp/bad") + QChar(0) + QStringLiteral("folder"), TestServerSid(),
                QStringLiteral("scott"), QStringLiteral("tiger"));
    RunStartUp(screen, dialogs);
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_TRUE(dialogs.Errors()[0].text.contains(QStringLiteral("Form1.Form_Load at line 136")));
    EXPECT_TRUE(screen.calls.contains(QStringLiteral("ShowTablesScreen")));
}

TEST_F(StartUp, FailingTablesScreenIsReportedAtLine140AndTheConnectionScreenStillHides) {
    QTemporaryDir folder;
    Touch(folder.filePath(QStringLiteral("a.db")));
    StoreFields(folder.path(), TestServerSid(), QStringLiteral("scott"), QStringLiteral("tiger"));
    screen.failing << QStringLiteral("ShowTablesScreen");
    RunStartUp(screen, dialogs);
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_TRUE(dialogs.Errors()[0].text.contains(QStringLiteral("at line 140")));
    EXPECT_EQ(screen.calls.last(), QStringLiteral("HideConnectionScreen"));
}

}  // namespace
}  // namespace quorvex::test
