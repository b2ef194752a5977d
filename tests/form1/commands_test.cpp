#include "data/oracle/odbc_session.h"
#include "form1_fixture.h"
#include "screens/form2.h"
#include "shell/connection_commands.h"
#include "shell/connection_help.h"
#include "shell/connection_settings.h"
#include "support/deadline.h"
#include "support/real_input.h"
#include "support/silent_server.h"
#include "support/test_server.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

namespace quorvex::test {
namespace {

class Form1Commands : public Form1Test {
  protected:
    void SetUp() override {
        Form1Test::SetUp();
        QFile table(tables.filePath(QStringLiteral("Parts.Db")));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    }
    void EnterLogin(const QString& password) {
        form->SetText2(TestServerSid());
        form->SetText3(QStringLiteral("scott"));
        form->SetText4(password);
    }
    QTemporaryDir tables;
};

TEST_F(Form1Commands, OracleTestConnectionSaysWhetherTheLoginWorks) {
    EnterLogin(QStringLiteral("tiger"));
    Button("PushButton1")->click();
    EnterLogin(QStringLiteral("wrong"));
    Button("PushButton1")->click();
    QTemporaryDir noServer;
    form->SetText2(noServer.path());
    Button("PushButton1")->click();
    form->SetText2(QString());
    form->SetText3(QString());
    form->SetText4(QString());
    Button("PushButton1")->click();
    EXPECT_EQ(dialogs.Texts(), (QStringList{kConnectionSuccessful, kOracleCouldNotConnect,
                                            kOracleCouldNotConnect, kOracleCouldNotConnect}));
    EXPECT_EQ(form->Screen().MousePointer(), vbDefault);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

// A server that takes the socket and never answers: the Oracle test gives up after the login
// time-out, its own and not the driver's (which comes later), with its usual answer. Meanwhile the
// window stays alive under the hourglass, and the clicks and keys that reach it are dropped.
TEST_F(Form1Commands, OracleTestOfASilentServerGivesUpAndTakesNoInputMeanwhile) {
    const Deadline deadline(std::chrono::seconds(kLoginTimeoutSeconds + 90));
    const SilentServer silent;
    EnterLogin(QStringLiteral("tiger"));
    form->SetText2(silent.Sid());
    form->SetText1(tables.path());
    ShowAndActivate();
    int pointerWhileWaiting = -1;
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(100);
    QTimer::singleShot(1000, form.get(), [&] {
        pointerWhileWaiting = form->Screen().MousePointer();
        Click(*Button("PushButton4"));  // Help
        Click(*Button("PushButton2"));  // Next >
        TypeInto(*Box("Text1"), QStringLiteral("elsewhere"));
    });

    QElapsedTimer waited;
    waited.start();
    Click(*Button("PushButton1"));
    EXPECT_LT(waited.elapsed(), (kLoginTimeoutSeconds + 10) * 1000);
    EXPECT_EQ(pointerWhileWaiting, vbHourglass);
    EXPECT_GT(ticks, 10) << "the window stood still while the login waited";
    EXPECT_EQ(dialogs.Texts(), QStringList{kOracleCouldNotConnect});
    EXPECT_EQ(form->Text1(), tables.path());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Screen().MousePointer(), vbDefault);
}

TEST_F(Form1Commands, ParadoxTestConnectionLooksOnlyInTheFolderItself) {
    form->SetText1(tables.path());
    Button("PushButton3")->click();
    form->SetText1(tables.path() + QStringLiteral("/"));
    Button("PushButton3")->click();
    form->SetText1(QString());
    Button("PushButton3")->click();
    QTemporaryDir nested;
    QDir(nested.path()).mkdir(QStringLiteral("sub"));
    QFile::copy(tables.filePath(QStringLiteral("Parts.Db")),
                nested.filePath(QStringLiteral("sub/PARTS.DB")));
    form->SetText1(nested.path());
    Button("PushButton3")->click();
    EXPECT_EQ(dialogs.Texts(), (QStringList{kConnectionSuccessful, kConnectionSuccessful,
                                            kParadoxCouldNotConnect, kParadoxCouldNotConnect}));
    for (const auto& box : dialogs.boxes) {
        EXPECT_EQ(box.buttons, vbOKOnly);
        EXPECT_EQ(box.title, QString());
    }
}

// A folder test that itself fails must not be answered with "Connection successful.".
TEST_F(Form1Commands, ParadoxTestThatFailsIsReportedThenAnsweredCouldNotConnect) {
    form->SetText1(tables.path() + QChar(0));
    Button("PushButton3")->click();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Application Error"));
    EXPECT_TRUE(
        dialogs.boxes[0].text.contains(QStringLiteral("Form1.PushButton3_Click at line 104")));
    EXPECT_EQ(dialogs.boxes[1].text, kParadoxCouldNotConnect);
    EXPECT_EQ(form->Screen().MousePointer(), vbDefault);
}

TEST_F(Form1Commands, NextOpensTheTablesScreenAndHidesThisOne) {
    form->SetText1(tables.path());
    EnterLogin(QStringLiteral("tiger"));
    form->show();
    Button("PushButton2")->click();
    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join(QLatin1Char('\n')).toStdString();
    ASSERT_NE(form->TablesScreenIfCreated(), nullptr);
    EXPECT_TRUE(form->TablesScreenIfCreated()->isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->Screen().MousePointer(), vbDefault);

    // Back and "Next >" again: the same tables screen, shown again.
    Form2* first = form->TablesScreenIfCreated();
    form->show();
    first->hide();
    Button("PushButton2")->click();
    EXPECT_EQ(form->TablesScreenIfCreated(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1Commands, NextStaysSilentlyOnABadLoginOrAFolderWithoutTables) {
    form->show();
    form->SetText1(tables.path());
    EnterLogin(QStringLiteral("wrong"));
    Button("PushButton2")->click();
    QTemporaryDir empty;
    form->SetText1(empty.path());
    EnterLogin(QStringLiteral("tiger"));
    Button("PushButton2")->click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->TablesScreenIfCreated(), nullptr);
    EXPECT_EQ(form->Screen().MousePointer(), vbDefault);
}

TEST_F(Form1Commands, HelpShowsBothBoxes) {
    Button("PushButton4")->click();
    EXPECT_EQ(dialogs.Texts(), (QStringList{ConnectionHelpText(), ConnectionHelpLimitsText()}));
}

TEST_F(Form1Commands, BrowsePutsThePickedFolderIntoTheFieldAndCancelKeepsIt) {
    form->SetText1(QStringLiteral("/kept"));
    Button("PushButton5")->click();
    EXPECT_EQ(form->Text1(), QStringLiteral("/kept"));
    EXPECT_EQ(GetConnectionSetting(kParadoxFolderKey), QStringLiteral("/kept"));
    dialogs.QueueFolder(tables.path());
    Button("PushButton5")->click();
    EXPECT_EQ(form->Text1(), tables.path());
    EXPECT_EQ(GetConnectionSetting(kParadoxFolderKey), tables.path());
    EXPECT_EQ(dialogs.folderTitles,
              (QStringList{"Please select folder:", "Please select folder:"}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Form1Commands, SampleButtonNamesTheProgramsSamplesFolderEvenWhenMissing) {
    Button("PushButton6")->click();
    const QString samples = programFolder.path() + QStringLiteral("/Samples");
    EXPECT_EQ(form->Text1(), samples);
    EXPECT_EQ(GetConnectionSetting(kParadoxFolderKey), samples);
    Button("PushButton3")->click();
    EXPECT_EQ(dialogs.Texts(), QStringList{kParadoxCouldNotConnect});
}

}  // namespace
}  // namespace quorvex::test
