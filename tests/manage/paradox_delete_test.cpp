// "Delete Table/s" on the Paradox side, on real folders.

#include "manage/table_commands.h"
#include "manage_support.h"

#include "shell/files.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

FixedFields FolderField(const QString& folder) {
    FixedFields fields;
    fields.folder = folder;
    return fields;
}

class ParadoxDeleteTest : public ::testing::Test {
  protected:
    TableFolder folder;
    ScreenUnderTest ui{FolderField(folder.Path())};
    const std::vector<int> hourglassThenArrow{vbHourglass, vbDefault};
};

TEST_F(ParadoxDeleteTest, DeletesTheDataFilesOfTheSelectedTablesAndKeepsTheirOtherFiles) {
    for (const char* name : {"A.DB", "A.PX", "A.MB", "b.db", "b.X01", "C.DB", "D.DB"}) {
        folder.Write(QString::fromLatin1(name));
    }
    Fill(ui.List2, {"A", "B", "C", "D"});
    SelectEntries(ui.List2, {"A", "B", "D"});

    DeleteParadoxTables(ui.screen);

    EXPECT_EQ(folder.Names(), (QStringList{"A.MB", "A.PX", "C.DB", "b.X01"}));
    EXPECT_EQ(Entries(ui.List2), QStringList{"C"});
    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(ParadoxDeleteTest, FindsTheFolderAndTheFileIgnoringCase) {
    folder.Write(QStringLiteral("Paradox/orders.db"));
    folder.Write(QStringLiteral("Paradox/Parts.Db"));
    ui.fields.folder = folder.PathOf(QStringLiteral("PARADOX"));
    Fill(ui.List2, {"ORDERS", "PARTS"});
    SelectEntries(ui.List2, {"ORDERS", "PARTS"});

    DeleteParadoxTables(ui.screen);

    EXPECT_TRUE(QDir(folder.PathOf(QStringLiteral("Paradox"))).isEmpty());
    EXPECT_TRUE(Entries(ui.List2).isEmpty());
    EXPECT_TRUE(ui.dialogs.boxes.empty());
}

TEST_F(ParadoxDeleteTest, EachRunSeesWhatOthersChangedInTheFolderSinceTheLast) {
    folder.Write(QStringLiteral("a.db"));
    folder.Write(QStringLiteral("b.db"));
    Fill(ui.List2, {"A", "B", "C"});
    SelectEntries(ui.List2, {"A"});
    DeleteParadoxTables(ui.screen);  // reads the folder, finding A ignoring case

    // Someone else creates C and removes B before the next run.
    folder.Write(QStringLiteral("c.db"));
    QFile::remove(folder.PathOf(QStringLiteral("b.db")));
    SelectEntries(ui.List2, {"B", "C"});
    DeleteParadoxTables(ui.screen);

    EXPECT_TRUE(folder.Names().isEmpty());
    EXPECT_EQ(Entries(ui.List2), QStringList{"B"});  // no file of its own to delete
}

TEST_F(ParadoxDeleteTest, BothSpellingsOnACaseKeepingFileSystemGoAndTheEntryGoesOnce) {
    folder.Write(QStringLiteral("ORDERS.DB"));
    folder.Write(QStringLiteral("orders.db"));
    folder.Write(QStringLiteral("OTHER.DB"));
    Fill(ui.List2, {"ORDERS", "OTHER"});
    SelectEntries(ui.List2, {"ORDERS"});

    DeleteParadoxTables(ui.screen);

    EXPECT_EQ(folder.Names(), QStringList{"OTHER.DB"});
    EXPECT_EQ(Entries(ui.List2), QStringList{"OTHER"});
}

TEST_F(ParadoxDeleteTest, WithoutACurrentEntryItAsksForASelectionAndDeletesNothing) {
    folder.Write(QStringLiteral("A.DB"));
    for (const QStringList& names : {QStringList{}, QStringList{"A"}}) {
        ScreenUnderTest fresh{FolderField(folder.Path())};
        Fill(fresh.List2, names);
        ASSERT_EQ(fresh.List2.ListIndex(), -1);

        DeleteParadoxTables(fresh.screen);

        EXPECT_EQ(PlainMessages(fresh.dialogs), QStringList{"Please select a table to delete."});
        EXPECT_TRUE(ReportedFailures(fresh.dialogs).empty());
        EXPECT_EQ(Entries(fresh.List2), names);
        EXPECT_EQ(fresh.pointer.history, hourglassThenArrow);
    }
    EXPECT_EQ(folder.Names(), QStringList{"A.DB"});
}

TEST_F(ParadoxDeleteTest, ACurrentEntryWithoutASelectionChangesNothing) {
    folder.Write(QStringLiteral("A.DB"));
    Fill(ui.List2, {"A"});
    ui.List2.SetListIndex(0);

    DeleteParadoxTables(ui.screen);

    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(folder.Names(), QStringList{"A.DB"});
    EXPECT_EQ(Entries(ui.List2), QStringList{"A"});
}

TEST_F(ParadoxDeleteTest, ATableInASubfolderIsLeftAloneAndStaysSelected) {
    folder.Write(QStringLiteral("sub/DEEP.DB"));
    Fill(ui.List2, {"DEEP"});
    SelectEntries(ui.List2, {"DEEP"});

    DeleteParadoxTables(ui.screen);

    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("sub/DEEP.DB"))));
    EXPECT_EQ(Entries(ui.List2), QStringList{"DEEP"});
    EXPECT_EQ(SelectedEntries(ui.List2), QStringList{"DEEP"});
    EXPECT_TRUE(ui.dialogs.boxes.empty());
}

TEST_F(ParadoxDeleteTest, ADataFileThatCannotBeDeletedKeepsItsEntryWithoutAMessage) {
    folder.Write(QStringLiteral("A.DB"), "a");
    folder.Write(QStringLiteral("b.db"), "b");
    Fill(ui.List2, {"A", "B"});
    SelectEntries(ui.List2, {"A", "B"});
    {
        ReadOnlyFolder readOnly(folder.Path());
        if (!readOnly.IsReadOnly()) {
            GTEST_SKIP() << "this system lets the folder be changed whatever its flags";
        }
        DeleteParadoxTables(ui.screen);
    }
    EXPECT_EQ(folder.Names(), (QStringList{"A.DB", "b.db"}));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"A", "B"}));
    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(ParadoxDeleteTest, AFolderNamedLikeADataFileIsNotDeletedAndKeepsItsEntry) {
    folder.Write(QStringLiteral("ODD.DB/inside.txt"));
    Fill(ui.List2, {"ODD"});
    SelectEntries(ui.List2, {"ODD"});

    DeleteParadoxTables(ui.screen);

    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("ODD.DB/inside.txt"))));
    EXPECT_EQ(Entries(ui.List2), QStringList{"ODD"});
    EXPECT_TRUE(ui.dialogs.boxes.empty());
}

}  // namespace
}  // namespace quorvex::test
