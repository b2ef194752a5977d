// "Delete Table/s" on the Paradox side, on real folders.

#include "manage/table_commands.h"
#include "manage_support.h"
#include "shell/table_listing.h"

#include "shell/files.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

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

TEST_F(ParadoxDeleteTest, EachListedNameDeletesItsOwnFileOnly) {
    // Names that differ only in letters whose upper case is no plain letter of their own.
    for (const char* name : {"daß.DB", "dass.db", "İs.db", "ıs.DB", "ﬁle.db", "file.DB"}) {
        folder.Write(QString::fromUtf8(name));
    }
    LoadParadoxTables(ui.List2, ui.fields);
    SelectEntries(ui.List2, {"DAß", "IS", "ﬁLE"});

    DeleteParadoxTables(ui.screen);

    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(folder.Names(), (QStringList{"dass.db", "file.DB", "İs.db"}));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"DASS", "FILE", "İS"}));
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

TEST_F(ParadoxDeleteTest, EntriesItCannotDeleteStayAndAreNamedInOneReport) {
    folder.Write(QStringLiteral("sub/deeper/DEEP.DB"));
    folder.Write(QStringLiteral("sub/deeper/DEEP.PX"));
    folder.Write(QStringLiteral("TOP.DB"));
    Fill(ui.List2, {"DEEP", "GONE", "TOP"});
    SelectEntries(ui.List2, {"DEEP", "GONE", "TOP"});

    DeleteParadoxTables(ui.screen);

    // The subfolder table is named with its subfolder and nothing of it goes.
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("sub/deeper/DEEP.DB"))));
    EXPECT_FALSE(FileExists(folder.PathOf(QStringLiteral("TOP.DB"))));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"DEEP", "GONE"}));
    EXPECT_EQ(SelectedEntries(ui.List2), (QStringList{"DEEP", "GONE"}));
    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].label, QStringLiteral("Form2.PushButton5_Click"));
    EXPECT_EQ(failures[0].line, 124);
    EXPECT_EQ(failures[0].description,
              QStringLiteral("2 selected tables were not deleted:\n"
                             "DEEP: in the subfolder \"sub/deeper\", not in the Paradox folder "
                             "itself\nGONE: no file GONE.DB in the Paradox folder"));
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

TEST_F(ParadoxDeleteTest, AnEntryListedFromASubfolderNeverDeletesTheFoldersNamesake) {
    folder.Write(QStringLiteral("ORDERS.DB"));
    folder.Write(QStringLiteral("Archive/ORDERS.DB"));
    LoadParadoxTables(ui.List2, ui.fields);
    ASSERT_EQ(Entries(ui.List2), (QStringList{"ORDERS", "ORDERS"}));
    const int fromSubfolder = ListedFromSubfolder(ui.List2, 0) ? 0 : 1;
    ASSERT_FALSE(ListedFromSubfolder(ui.List2, 1 - fromSubfolder));
    ui.List2.SetSelected(fromSubfolder, true);
    ui.List2.SetListIndex(fromSubfolder);

    DeleteParadoxTables(ui.screen);

    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("ORDERS.DB"))));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("Archive/ORDERS.DB"))));
    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].description,
              QStringLiteral("1 selected table was not deleted:\nORDERS: its file is in the "
                             "subfolder \"Archive\"; only the folder's own tables are deleted"));

    // Both selected: the folder's own goes, the subfolder's entry stays, marked as before.
    ui.List2.SetSelected(1 - fromSubfolder, true);
    DeleteParadoxTables(ui.screen);

    EXPECT_FALSE(FileExists(folder.PathOf(QStringLiteral("ORDERS.DB"))));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("Archive/ORDERS.DB"))));
    ASSERT_EQ(Entries(ui.List2), QStringList{"ORDERS"});
    EXPECT_TRUE(ListedFromSubfolder(ui.List2, 0));
    EXPECT_EQ(ReportedFailures(ui.dialogs).size(), 2u);
}

TEST_F(ParadoxDeleteTest, EachOfTwoSpellingsDeletesItsOwnFileOnly) {
    folder.Write(QStringLiteral("T.DB"));
    folder.Write(QStringLiteral("T.db"));
    LoadParadoxTables(ui.List2, ui.fields);
    ASSERT_EQ(Entries(ui.List2), (QStringList{"T", "T"}));
    const std::optional<QString> first = TwinFileOfEntry(ui.List2, 0, folder.Path());
    ui.List2.SetSelected(0, true);
    ui.List2.SetListIndex(0);

    DeleteParadoxTables(ui.screen);

    EXPECT_TRUE(ReportedFailures(ui.dialogs).empty());
    const QStringList left{first == QStringLiteral("T.DB") ? QStringLiteral("T.db")
                                                           : QStringLiteral("T.DB")};
    EXPECT_EQ(folder.Names(), left);
    ASSERT_EQ(Entries(ui.List2), QStringList{"T"});
    EXPECT_EQ(TwinFileOfEntry(ui.List2, 0, folder.Path()), left[0]);
}

TEST_F(ParadoxDeleteTest, ThousandsThatStayGiveOneBoxNamingTheFirstFew) {
    QStringList names;
    for (int i = 0; i < 100; ++i) {
        names.append(QStringLiteral("T%1").arg(i, 4, 10, QLatin1Char('0')));
    }
    Fill(ui.List2, names);
    SelectEntries(ui.List2, names);

    DeleteParadoxTables(ui.screen);

    ASSERT_EQ(ui.dialogs.boxes.size(), 1u);
    const QString report = ReportedFailures(ui.dialogs).at(0).description;
    EXPECT_TRUE(report.startsWith("100 selected tables were not deleted:\nT0080: no file"));
    EXPECT_TRUE(report.endsWith("\nT0099: no file T0099.DB in the Paradox folder\nand 80 more."))
        << report.toStdString();
}

TEST_F(ParadoxDeleteTest, ADataFileThatCannotBeDeletedKeepsItsEntryAndSaysWhy) {
    folder.Write(QStringLiteral("A.DB"), "a");
    folder.Write(QStringLiteral("b.db"), "b");
    folder.Write(QStringLiteral("ODD.DB/inside.txt"));  // a folder named like a data file
    Fill(ui.List2, {"A", "B", "ODD"});
    SelectEntries(ui.List2, {"A", "B", "ODD"});
    {
        ReadOnlyFolder readOnly(folder.Path());
        if (!readOnly.IsReadOnly()) {
            GTEST_SKIP() << "this system lets the folder be changed whatever its flags";
        }
        DeleteParadoxTables(ui.screen);
    }
    EXPECT_EQ(folder.Names(), (QStringList{"A.DB", "ODD.DB", "b.db"}));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("ODD.DB/inside.txt"))));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"A", "B", "ODD"}));
    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    const QStringList lines = failures[0].description.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("A: ") && lines[1].endsWith(folder.PathOf("A.DB")));
    EXPECT_TRUE(lines[2].startsWith("B: ") && lines[2].endsWith(folder.PathOf("b.db")));
    EXPECT_EQ(lines[3], "ODD: " + folder.PathOf("ODD.DB") + " is a folder, not a table file");
    EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
}

}  // namespace
}  // namespace quorvex::test
