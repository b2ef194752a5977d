#include "data/core/failure.h"
#include "form2_fixture.h"
#include "screens/window_services.h"
#include "support/test_server.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>

namespace quorvex::test {
namespace {

// A tables screen whose login is the test server's and whose Paradox folder is a fresh
// temporary folder.
class Form2Load : public Form2Test {
  protected:
    void SetUp() override {
        DropAllTables();
        fields = TestServerLogin(folder.path());
        form->SetProgramFolder(programFolder.path());
    }
    void Table(const QString& relative) {
        const QString path = folder.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList Entries(const TableList& list) {
        QStringList entries;
        for (int i = 0; i < list.ListCount(); ++i) {
            entries.append(list.List(i));
        }
        return entries;
    }

    QTemporaryDir folder;
    QTemporaryDir programFolder;
};

TEST_F(Form2Load, FillsBothListsSortedWithTheOracleListCurrentOnItsFirstEntry) {
    ServerExecute("CREATE TABLE \"Zeta\" (id integer)");
    ServerExecute("CREATE TABLE \"alpha\" (id integer)");
    Table("orders.db");
    Table("Customers.DB");
    Table("archive/2014/parts.Db");

    form->Form_Load();
    EXPECT_EQ(Entries(List1()), (QStringList{"alpha", "Zeta"}));
    EXPECT_EQ(List1().ListIndex(), 0);
    EXPECT_EQ(Entries(List2()), (QStringList{"CUSTOMERS", "ORDERS", "PARTS"}));
    EXPECT_EQ(List2().ListIndex(), -1);
    EXPECT_EQ(List1().SelCount() + List2().SelCount(), 0);
}

TEST_F(Form2Load, ARefreshReadsBothSidesAgain) {
    ServerExecute("CREATE TABLE \"OLD\" (id integer)");
    Table("old.db");
    form->Form_Load();
    ServerExecute("DROP TABLE \"OLD\"");
    ServerExecute("CREATE TABLE \"NEW\" (id integer)");
    QFile::remove(folder.path() + "/old.db");
    Table("new.db");
    List1().SetSelected(0, true);

    form->Form_Load();
    EXPECT_EQ(Entries(List1()), QStringList{"NEW"});
    EXPECT_EQ(Entries(List2()), QStringList{"NEW"});
    EXPECT_EQ(List1().SelCount(), 0);
}

TEST_F(Form2Load, SetsTheOuterHeightFromTheBackButtonWhateverItWas) {
    form->setFixedHeight(600);
    form->Form_Load();
    // 4980 + 405 + 580 twips, title bar and borders included (the offscreen platform has none).
    EXPECT_EQ(form->frameGeometry().height(), TwipsToPixels(5965));
    EXPECT_EQ(form->width(), TwipsToPixels(8040));
    form->Form_Load();
    EXPECT_EQ(form->frameGeometry().height(), TwipsToPixels(5965));
}

TEST_F(Form2Load, CentresWithTheSizeItHadBeforeTheHeightRule) {
    const QRect area = QGuiApplication::primaryScreen()->geometry();
    const QSize before = form->frameGeometry().size();
    form->Form_Load();
    EXPECT_EQ(form->frameGeometry().topLeft(),
              QPoint(area.left() + qRound((area.width() - before.width()) / 2.0),
                     area.top() + qRound((area.height() - before.height()) / 2.0)));
}

TEST_F(Form2Load, DressesTheWindowInPlainColoursWithItsCaption) {
    form->setWindowTitle("something else");
    form->Form_Load();
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(form->palette().color(QPalette::Window), face);
    EXPECT_EQ(Control("Frame1").palette().color(QPalette::Window), face);
    EXPECT_EQ(Control("Frame2").palette().color(QPalette::Window), face);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quorvex"));
}

TEST_F(Form2Load, LoadsTheHandCursorOnlyWhenItsFileIsBesideTheProgram) {
    form->Form_Load();
    EXPECT_FALSE(form->MousePointerState().HasMouseIcon());
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVEX_SOURCE_DIR "/resources/HAND-M.CUR"),
                            programFolder.path() + "/hand-m.cur"));  // found ignoring case
    form->Form_Load();
    EXPECT_TRUE(form->MousePointerState().HasMouseIcon());
}

TEST_F(Form2Load, ADeadOracleLoginEndsTheRefreshBeforeTheParadoxListIsFilled) {
    Table("orders.db");
    List1().AddItem("STALE");
    List2().AddItem("STALE");
    fields.password = "wrong";
    try {
        form->Form_Load();
        ADD_FAILURE() << "the refresh hid a failed login";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains("password authentication failed"))
            << failure.what();
    }
    EXPECT_EQ(List1().ListCount(), 0);
    EXPECT_EQ(List2().ListCount(), 0);  // cleared, then never filled
}

TEST_F(Form2Load, AFolderNoSearchCanTakeFailsTheRefreshAfterTheOracleListIsFilled) {
    ServerExecute("CREATE TABLE \"T\" (id integer)");
    fields.folder = folder.path() + QChar(u'\0');
    EXPECT_THROW(form->Form_Load(), Failure);
    EXPECT_EQ(Entries(List1()), QStringList{"T"});
    EXPECT_EQ(List2().ListCount(), 0);
}

TEST_F(Form2Load, ADamagedCursorFileEndsTheRefreshBeforeTheListsAreTouched) {
    QFile damaged(programFolder.path() + "/HAND-M.CUR");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a cursor");
    damaged.close();
    Table("orders.db");
    List2().AddItem("OLD");
    EXPECT_THROW(form->Form_Load(), Failure);
    EXPECT_EQ(Entries(List2()), QStringList{"OLD"});
}

TEST_F(Form2Load, TheCommandButtonsRunTheirCommands) {
    // With empty lists each command stops at its "select a table" message, which shows the
    // button reaches its own command.
    form->Form_Load();
    Button("PushButton1").click();
    Button("PushButton4").click();
    Button("PushButton5").click();
    Button("PushButton6").click();
    Button("PushButton7").click();
    EXPECT_EQ(dialogs.Texts(),
              (QStringList{"Please select a table", "Please select a table to send.",
                           "Please select a table to delete.", "Please select a table to rename.",
                           "Please select a table to rename."}));
    EXPECT_EQ(Pointer(), vbDefault);
}

}  // namespace
}  // namespace quorvex::test
