#include "program_fixture.h"

#include "shell/table_listing.h"
#include "screens/table_list_widget.h"
#include "support/recording_ui.h"
#include "support/test_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>

namespace quorvex::test {
namespace {

void Touch(const QString& path) {
    QDir().mkpath(path.left(path.lastIndexOf(u'/')));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("table");
}

// The folder tree goes away while the listing walks it: the removal is queued as a window
// event, and the walk lets pending window events run as it goes.
TEST(ParadoxFolderRemoved, WhileItIsWalkedTheListingEndsWithWhatItSaw) {
    QTemporaryDir scratch;
    const QString root = scratch.filePath(QStringLiteral("tables"));
    QSet<QString> everyName;
    for (int top = 0; top < 30; ++top) {
        for (int deep = 0; deep < 4; ++deep) {
            const QString name = QStringLiteral("T%1_%2").arg(top).arg(deep);
            Touch(QStringLiteral("%1/f%2/g%3/%4.DB").arg(root).arg(top).arg(deep).arg(name));
            everyName.insert(name);
        }
    }
    Touch(root + QStringLiteral("/TOP.DB"));
    everyName.insert(QStringLiteral("TOP"));

    bool removed = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { removed = QDir(root).removeRecursively(); },
        Qt::QueuedConnection);
    FixedFields fields;
    fields.folder = root;
    TableListWidget list;
    EXPECT_NO_THROW(LoadParadoxTables(list, fields));

    EXPECT_TRUE(removed) << "the tree was not removed during the walk";
    EXPECT_FALSE(QFileInfo::exists(root));
    QSet<QString> listed;
    for (int i = 0; i < list.ListCount(); ++i) {
        EXPECT_TRUE(everyName.contains(list.List(i))) << list.List(i).toStdString();
        EXPECT_FALSE(listed.contains(list.List(i)))
            << "listed twice: " << list.List(i).toStdString();
        listed.insert(list.List(i));
    }
}

class ParadoxFolderRemovedAfterListing : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        DropAllTables();
        folder = tables.filePath(QStringLiteral("db"));
        ASSERT_TRUE(QDir().mkpath(folder));
        WriteNumberedTable(QStringLiteral("CUSTOMER.DB"), 3, folder);
        WriteNumberedTable(QStringLiteral("ORDERS.DB"), 4, folder);
        EnterLogin(folder, TestServerSid());
        form2 = Next();
        ASSERT_NE(form2, nullptr);
        ASSERT_EQ(Entries(form2->ParadoxList()), (QStringList{"CUSTOMER", "ORDERS"}));
        ASSERT_TRUE(QDir(folder).removeRecursively());
    }

    QString folder;
    Form2* form2 = nullptr;
};

TEST_F(ParadoxFolderRemovedAfterListing, SendingReportsEachTableAndCreatesNothing) {
    SelectEntries(form2->ParadoxList(), {QStringLiteral("CUSTOMER"), QStringLiteral("ORDERS")});
    Click(*form2, "PushButton4");

    EXPECT_TRUE(ServerQuery(QStringLiteral("SELECT table_name FROM user_tables")).isEmpty());
    const std::vector<Report> reports = Reports();
    EXPECT_GE(reports.size(), 2u) << "each table that cannot be read deserves a report";
    for (const Report& report : reports) {
        EXPECT_EQ(report.label, QStringLiteral("Form2.PushButton4_Click"));
    }
    EXPECT_TRUE(PlainMessages().isEmpty());
    EXPECT_EQ(form2->MousePointerState().MousePointer(), vbDefault);
    EXPECT_FALSE(QFileInfo::exists(folder)) << "the transfer made the folder again";
}

TEST_F(ParadoxFolderRemovedAfterListing, DeletingFindsNoFileKeepsTheEntryAndSaysSo) {
    SelectEntries(form2->ParadoxList(), {QStringLiteral("CUSTOMER")});
    Click(*form2, "PushButton5");

    const std::vector<Report> reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].line, 124);
    EXPECT_TRUE(reports[0].description.contains(QStringLiteral("\nCUSTOMER: no file")));
    EXPECT_EQ(Entries(form2->ParadoxList()), (QStringList{"CUSTOMER", "ORDERS"}));
    EXPECT_EQ(form2->MousePointerState().MousePointer(), vbDefault);
}

TEST_F(ParadoxFolderRemovedAfterListing, RenamingReportsTheMissingFolderAndWritesNothing) {
    SelectEntries(form2->ParadoxList(), {QStringLiteral("ORDERS")});
    dialogs.QueueInput(QStringLiteral("ORDERS2"));
    Click(*form2, "PushButton7");

    const std::vector<Report> reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].label, QStringLiteral("Form2.PushButton7_Click"));
    EXPECT_EQ(reports[0].line, 104);
    EXPECT_FALSE(QFileInfo::exists(folder)) << "the rename made the folder again";
    EXPECT_EQ(form2->MousePointerState().MousePointer(), vbDefault);
}

TEST_F(ParadoxFolderRemovedAfterListing, BackAndNextStaysQuietlyOnTheConnectionScreen) {
    Click(*form2, "PushButton2");
    ASSERT_TRUE(form1->isVisible());
    EXPECT_EQ(Next(), nullptr);
    EXPECT_TRUE(form1->isVisible());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form1->Screen().MousePointer(), vbDefault);
}

}  // namespace
}  // namespace quorvex::test
