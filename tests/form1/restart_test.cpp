#include "child_modes.h"
#include "form1_fixture.h"
#include "shell/connection_settings.h"

#include <QFile>

namespace quorvex::test {
namespace {

QString FromHexLine(const QString& line) {
    EXPECT_TRUE(line.startsWith(QLatin1Char('>')));
    return QString::fromUtf8(QByteArray::fromHex(line.mid(1).toLatin1()));
}

// The fields typed in one run come back in the next run of the program, exactly.
TEST_F(Form1Test, FieldsComeBackUnchangedAfterARestart) {
    const QString folder = QStringLiteral("/data/px;db} with spaces/");
    const QString sid = QString::fromUtf8("ORCL_Ünïcødé_日本");
    const QString user = QStringLiteral("sc;ott}");
    const QString password = QString(10000, QLatin1Char('p')) + QStringLiteral(" ;}=\"'\\");
    ShowAndActivate();
    Box("Text1")->setFocus(Qt::TabFocusReason);
    Type(folder);
    Box("Text2")->setFocus(Qt::TabFocusReason);
    Type(sid);
    Box("Text3")->setFocus(Qt::TabFocusReason);
    Type(user);
    form->SetText4(password);  // assigned by the program: saved the same way

    const ChildResult restart = RunChild(kRestoreMode, settings.ConfigFolder());
    ASSERT_TRUE(restart.finished);
    ASSERT_EQ(restart.exitCode, 0);
    ASSERT_EQ(restart.lines.size(), 5);
    EXPECT_EQ(FromHexLine(restart.lines[0]), folder);
    EXPECT_EQ(FromHexLine(restart.lines[1]), sid);
    EXPECT_EQ(FromHexLine(restart.lines[2]), user);
    EXPECT_EQ(FromHexLine(restart.lines[3]), password);
    EXPECT_EQ(restart.lines[4], QStringLiteral("0"));  // no box was shown
}

TEST_F(Form1Test, FirstRunStartsWithEmptyFields) {
    const ChildResult run = RunChild(kRestoreMode, settings.ConfigFolder());
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.lines.size(), 5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(FromHexLine(run.lines[i]), QString());
    }
}

TEST(Form1Unload, ClosingTheConnectionScreenEndsTheProgramAtOnce) {
    QTemporaryDir config;
    const ChildResult run = RunChild(kCloseMode, config.path());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    // Neither the command that was letting events run nor the other window's close handling
    // got to run any further.
    EXPECT_FALSE(run.lines.contains(kStillRunning));
    EXPECT_FALSE(run.lines.contains(kOtherWindowClosed));
}

}  // namespace
}  // namespace quorvex::test
