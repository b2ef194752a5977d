#include "form1_fixture.h"
#include "screens/form2.h"
#include "screens/window_services.h"
#include "shell/connection_settings.h"
#include "shell/error_report.h"
#include "support/test_server.h"

#include <QFile>
#include <QScreen>

namespace quorvex::test {
namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// The window's middle is the screen's middle, up to the window frame that only the window system
// knows once the window is shown.
bool IsCentred(const QWidget& window) {
    const QPoint offset = window.frameGeometry().center() - window.screen()->geometry().center();
    return qAbs(offset.x()) <= 3 && qAbs(offset.y()) <= 3;
}

TEST_F(Form1Test, PlainStartUpKeepsTheDesignedColoursCentresCaptionsAndRestores) {
    SaveConnectionSetting(kServerKey, QStringLiteral("ORCL"));
    SaveConnectionSetting(kUserKey, QStringLiteral("scott"));
    form->Start();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quorvex"));
    EXPECT_TRUE(IsCentred(*form)) << form->frameGeometry().x() << "," << form->frameGeometry().y();
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(form->styleSheet().isEmpty());
    EXPECT_EQ(form->Text2(), QStringLiteral("ORCL"));
    EXPECT_EQ(form->Text3(), QStringLiteral("scott"));
    EXPECT_EQ(form->Text1(), QString());
    EXPECT_FALSE(form->MousePointerState().HasMouseIcon());
    EXPECT_EQ(form->TablesScreenIfCreated(), nullptr);
}

TEST_F(Form1Test, SkinGivesButtonFaceColoursToTheWindowFramesAndLabelsOnly) {
    Provide(QStringLiteral("o.cjs"), QStringLiteral("x/o.cjs"));
    form->Form_Load();
    EXPECT_TRUE(dialogs.boxes.empty());
    const QColor face = ButtonFaceColor();
    EXPECT_EQ(form->palette().color(QPalette::Window), face);
    for (const char* name : {"Frame1", "Frame2", "Label2", "Label5", "Label7", "Label9"}) {
        EXPECT_EQ(Control(name)->palette().color(QPalette::Window), face) << name;
    }
    EXPECT_EQ(Box("Text1")->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_FALSE(form->styleSheet().isEmpty());
    EXPECT_TRUE(form->Skin().ApplyOptions() & SkinFramework::kApplySheet);
    EXPECT_TRUE(form->Skin().ApplyFrame());
    EXPECT_TRUE(form->Skin().ApplyDialogs());
}

TEST_F(Form1Test, SkinFileIsFoundIgnoringCase) {
    Provide(QStringLiteral("o.cjs"), QStringLiteral("X/O.CJS"));
    form->Form_Load();
    EXPECT_FALSE(form->styleSheet().isEmpty());
}

TEST_F(Form1Test, DamagedSkinIsReportedAtLine100AndStartUpGoesOn) {
    QDir(programFolder.path()).mkdir(QStringLiteral("x"));
    WriteFile(programFolder.filePath(QStringLiteral("x/o.cjs")), "QPushButton { color: \xff\xfe");
    SaveConnectionSetting(kUserKey, QStringLiteral("scott"));
    form->Start();
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    const QString text = dialogs.Errors()[0].text;
    EXPECT_TRUE(
        text.contains(QStringLiteral("\r\nin Quorvex2/19/2015.Form1.Form_Load at line 100")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("o.cjs")));
    EXPECT_TRUE(IsCentred(*form)) << form->frameGeometry().x() << "," << form->frameGeometry().y();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quorvex"));
    EXPECT_EQ(form->Text3(), QStringLiteral("scott"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Form1Test, HandCursorAndIconBesideTheProgramAreUsed) {
    Provide(QStringLiteral("HAND-M.CUR"), QStringLiteral("HAND-M.CUR"));
    Provide(QStringLiteral("quorvex.png"), QStringLiteral("quorvex.png"));
    form->Form_Load();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(form->MousePointerState().HasMouseIcon());
    EXPECT_FALSE(form->windowIcon().isNull());
}

TEST_F(Form1Test, DamagedCursorIsReportedAtLine126AndTheFieldsStillCome) {
    WriteFile(programFolder.filePath(QStringLiteral("HAND-M.CUR")), "not a cursor");
    SaveConnectionSetting(kPasswordKey, QStringLiteral("tiger"));
    form->Form_Load();
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_TRUE(dialogs.Errors()[0].text.contains(QStringLiteral("Form1.Form_Load at line 126")));
    EXPECT_EQ(form->Text4(), QStringLiteral("tiger"));
    EXPECT_FALSE(form->MousePointerState().HasMouseIcon());
}

// Against the real test server.
TEST_F(Form1Test, StartUpOpensTheTablesScreenWhenFolderAndLoginAreGood) {
    QTemporaryDir folder;
    WriteFile(folder.filePath(QStringLiteral("CUSTOMER.DB")), QByteArray());
    SaveConnectionSetting(kParadoxFolderKey, folder.path());
    SaveConnectionSetting(kServerKey, TestServerSid());
    SaveConnectionSetting(kUserKey, QStringLiteral("scott"));
    SaveConnectionSetting(kPasswordKey, QStringLiteral("tiger"));
    form->Start();
    ASSERT_NE(form->TablesScreenIfCreated(), nullptr);
    EXPECT_TRUE(form->TablesScreenIfCreated()->isVisible());
    EXPECT_FALSE(form->isVisible());
    // Restoring the fields wrote each value back unchanged.
    EXPECT_EQ(GetConnectionSetting(kPasswordKey), QStringLiteral("tiger"));
}

TEST_F(Form1Test, StartUpStaysOnTheConnectionScreenWhenTheLoginFails) {
    QTemporaryDir folder;
    WriteFile(folder.filePath(QStringLiteral("CUSTOMER.DB")), QByteArray());
    SaveConnectionSetting(kParadoxFolderKey, folder.path());
    SaveConnectionSetting(kServerKey, TestServerSid());
    SaveConnectionSetting(kUserKey, QStringLiteral("scott"));
    SaveConnectionSetting(kPasswordKey, QStringLiteral("wrong"));
    form->Start();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->TablesScreenIfCreated(), nullptr);
    EXPECT_EQ(form->Text1(), folder.path());
}

}  // namespace
}  // namespace quorvex::test
