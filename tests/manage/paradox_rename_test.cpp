// "Rename Table" on the Paradox side, on real folders: the data file and its companion files are
// renamed by copy and delete, nothing is ever written over, and a refused copy keeps the table.

#include "manage/table_commands.h"
#include "manage_support.h"
#include "shell/files.h"
#include "shell/table_listing.h"
#include "support/immutable_flag.h"

#include <QDir>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

class ParadoxRenameTest : public ::testing::Test {
  protected:
    // Selects the one entry and answers the input box with `newName`.
    void Rename(const QString& oldName, const QString& newName) {
        SelectEntries(ui.List2, {oldName});
        ui.dialogs.QueueInput(newName);
        RenameParadoxTable(ui.screen);
        EXPECT_EQ(ui.pointer.history, hourglassThenArrow);
    }

    // The reports of refused copies; every report must be one.
    std::vector<ReportedFailure> RefusedCopies() {
        const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
        for (const ReportedFailure& failure : failures) {
            EXPECT_EQ(failure.label, QStringLiteral("Main.RenameFile"));
            EXPECT_EQ(failure.line, 100);
        }
        return failures;
    }

    TableFolder folder;
    ScreenUnderTest ui{FolderField(folder.Path())};
    const std::vector<int> hourglassThenArrow{vbHourglass, vbDefault};
};

TEST_F(ParadoxRenameTest, RenamesTheDataFileAndEveryCompanionKeepingTheirExtensions) {
    for (const char* name : {"A.DB", "A.PX", "a.mb", "A.X02", "A.Y02", "A.XG1", "A.YG1", "A.VAL",
                             "A.tv", "A.FAM", "A.TXT", "AB.PX", "B.DB"}) {
        folder.Write(QString::fromLatin1(name), QByteArray("contents of ") + name);
    }
    Fill(ui.List2, {"A", "AB", "B"});

    Rename(QStringLiteral("A"), QStringLiteral("Sales"));

    EXPECT_EQ(folder.Names(), (QStringList{"A.TXT", "AB.PX", "B.DB", "Sales.DB", "Sales.FAM",
                                           "Sales.PX", "Sales.VAL", "Sales.X02", "Sales.XG1",
                                           "Sales.Y02", "Sales.YG1", "Sales.mb", "Sales.tv"}));
    EXPECT_EQ(folder.Read(QStringLiteral("Sales.DB")), QByteArray("contents of A.DB"));
    EXPECT_EQ(folder.Read(QStringLiteral("Sales.mb")), QByteArray("contents of a.mb"));
    EXPECT_EQ(folder.Read(QStringLiteral("Sales.X02")), QByteArray("contents of A.X02"));
    EXPECT_TRUE(ui.dialogs.boxes.empty());

    ASSERT_EQ(ui.dialogs.prompts.size(), 1u);
    EXPECT_EQ(ui.dialogs.prompts[0].prompt, QStringLiteral("Enter new name of A:"));
    EXPECT_TRUE(ui.dialogs.prompts[0].title.isEmpty());
    EXPECT_EQ(ui.dialogs.prompts[0].defaultText, QStringLiteral("A"));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"AB", "B", "Sales"}));
    EXPECT_EQ(ui.List2.ListIndex(), 0);
}

TEST_F(ParadoxRenameTest, ALowerCaseDataFileIsFoundOnceAndTheSecondSpellingFindsNothing) {
    folder.Write(QStringLiteral("Paradox/orders.db"), "rows");
    folder.Write(QStringLiteral("Paradox/orders.px"), "index");
    ui.fields.folder = folder.PathOf(QStringLiteral("PARADOX"));
    Fill(ui.List2, {"ORDERS"});

    Rename(QStringLiteral("ORDERS"), QStringLiteral("SALES"));

    // The ".DB" spelling found the file; the new data file keeps the file's own ".db", as the
    // companion keeps its own spelling.
    EXPECT_EQ(QDir(folder.PathOf(QStringLiteral("Paradox"))).entryList(QDir::Files, QDir::Name),
              (QStringList{"SALES.db", "SALES.px"}));
    EXPECT_EQ(folder.Read(QStringLiteral("Paradox/SALES.db")), QByteArray("rows"));
    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(Entries(ui.List2), QStringList{"SALES"});
}

TEST_F(ParadoxRenameTest, AnExistingTableIsNeverWrittenOverAndKeepsTheSourceWhole) {
    folder.Write(QStringLiteral("A.DB"), "a rows");
    folder.Write(QStringLiteral("A.MB"), "a memos");
    folder.Write(QStringLiteral("b.db"), "b rows");
    Fill(ui.List2, {"A", "B"});

    Rename(QStringLiteral("A"), QStringLiteral("B"));

    // Both spellings of the old data file name the same file: refused once for each.
    const std::vector<ReportedFailure> refused = RefusedCopies();
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0].description, QStringLiteral("Destination file exists"));
    EXPECT_EQ(folder.Names(), (QStringList{"A.DB", "A.MB", "b.db"}));
    EXPECT_EQ(folder.Read(QStringLiteral("b.db")), QByteArray("b rows"));
    EXPECT_EQ(folder.Read(QStringLiteral("A.DB")), QByteArray("a rows"));
    // Nothing was renamed, so the list stays as it was.
    EXPECT_EQ(Entries(ui.List2), (QStringList{"A", "B"}));
    EXPECT_EQ(SelectedEntries(ui.List2), QStringList{"A"});
}

TEST_F(ParadoxRenameTest, ACompanionWhoseNewNameIsTakenStaysAndIsReported) {
    folder.Write(QStringLiteral("A.DB"), "a rows");
    folder.Write(QStringLiteral("A.PX"), "a index");
    folder.Write(QStringLiteral("A.MB"), "a memos");
    folder.Write(QStringLiteral("C.PX"), "stray index");
    Fill(ui.List2, {"A"});

    Rename(QStringLiteral("A"), QStringLiteral("C"));

    const std::vector<ReportedFailure> refused = RefusedCopies();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(folder.Names(), (QStringList{"A.PX", "C.DB", "C.MB", "C.PX"}));
    EXPECT_EQ(folder.Read(QStringLiteral("C.PX")), QByteArray("stray index"));
    EXPECT_EQ(folder.Read(QStringLiteral("A.PX")), QByteArray("a index"));
}

TEST_F(ParadoxRenameTest, TheSameNameInAnyCaseIsACopyOntoItselfAndDeletesNothing) {
    // Accepting the offered name, or changing only its case: refused once for each spelling.
    for (const QString& newName : {QStringLiteral("A"), QStringLiteral("a")}) {
        TableFolder own;
        own.Write(QStringLiteral("A.DB"), "a rows");
        own.Write(QStringLiteral("A.PX"), "a index");
        ScreenUnderTest fresh{FolderField(own.Path())};
        Fill(fresh.List2, {"A"});
        SelectEntries(fresh.List2, {"A"});
        fresh.dialogs.QueueInput(newName);

        RenameParadoxTable(fresh.screen);

        const std::vector<ReportedFailure> failures = ReportedFailures(fresh.dialogs);
        ASSERT_EQ(failures.size(), 2u);
        EXPECT_EQ(failures[1].label, QStringLiteral("Main.RenameFile"));
        EXPECT_EQ(failures[1].line, 100);
        EXPECT_EQ(own.Names(), (QStringList{"A.DB", "A.PX"}));
        EXPECT_EQ(own.Read(QStringLiteral("A.DB")), QByteArray("a rows"));
        EXPECT_EQ(Entries(fresh.List2), QStringList{"A"});
    }
}

TEST_F(ParadoxRenameTest, BothSpellingsOnACaseKeepingFileSystemEachGetTheNewName) {
    // Only a file system that keeps case can hold both: each file is its own, and so is each
    // new one, however an existing name matches it ignoring case.
    for (const char* name : {"T.DB", "T.db", "T.MB", "t.mb", "OTHER.DB"}) {
        folder.Write(QString::fromLatin1(name), name);
    }
    Fill(ui.List2, {"OTHER", "T"});

    Rename(QStringLiteral("T"), QStringLiteral("TT"));

    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(folder.Names(), (QStringList{"OTHER.DB", "TT.DB", "TT.MB", "TT.db", "TT.mb"}));
    EXPECT_EQ(folder.Read(QStringLiteral("TT.db")), QByteArray("T.db"));
    EXPECT_EQ(folder.Read(QStringLiteral("TT.mb")), QByteArray("t.mb"));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"OTHER", "TT"}));
}

TEST_F(ParadoxRenameTest, AnOldDataFileThatCannotGoIsCopiedOnceAndSaysWhy) {
    struct Case {
        QStringList files;  // the first is the one that cannot be deleted
        QStringList after;
        std::vector<int> reportedLines;
    };
    const std::vector<Case> cases = {
        // One file, found by both spellings: the second leaves the copied file alone.
        {{"orders.db"}, {"NEW.db", "orders.db"}, {102}},
        // Two files: the second spelling renames its own one.
        {{"ORDERS.DB", "ORDERS.db"}, {"NEW.DB", "NEW.db", "ORDERS.DB"}, {102}},
    };
    for (const Case& c : cases) {
        TableFolder own;
        for (const QString& file : c.files) {
            own.Write(file, file.toUtf8());
        }
        const QString locked = own.PathOf(c.files[0]);
        if (!SetImmutableFlag(locked, true)) {
            GTEST_SKIP() << "this file system or user cannot make a file immutable";
        }
        ScreenUnderTest fresh{FolderField(own.Path())};
        Fill(fresh.List2, {"ORDERS"});
        SelectEntries(fresh.List2, {"ORDERS"});
        fresh.dialogs.QueueInput(QStringLiteral("NEW"));
        RenameParadoxTable(fresh.screen);
        SetImmutableFlag(locked, false);

        const std::vector<ReportedFailure> failures = ReportedFailures(fresh.dialogs);
        ASSERT_EQ(failures.size(), c.reportedLines.size()) << c.files.join(' ').toStdString();
        EXPECT_EQ(failures[0].label, QStringLiteral("Main.RenameFile"));
        EXPECT_EQ(failures[0].line, 102);  // the old file stays, and why
        EXPECT_EQ(failures.back().line, c.reportedLines.back());
        EXPECT_EQ(own.Names(), c.after);
        EXPECT_EQ(own.Read(c.after[0]), c.files[0].toUtf8());
        // The old data file is still there, and so is its entry.
        EXPECT_EQ(Entries(fresh.List2), (QStringList{"NEW", "ORDERS"}));
    }
}

TEST_F(ParadoxRenameTest, ATableInASubfolderOrNowhereIsReportedOnceAndKeepsItsEntry) {
    folder.Write(QStringLiteral("sub/DEEP.DB"));
    folder.Write(QStringLiteral("DEEP.PX"));  // a stray index of the name stays too
    Fill(ui.List2, {"DEEP", "GONE"});

    Rename(QStringLiteral("DEEP"), QStringLiteral("SHALLOW"));
    ui.List2.SetSelected(0, false);
    ui.pointer.history.clear();
    Rename(QStringLiteral("GONE"), QStringLiteral("BACK"));

    EXPECT_EQ(folder.Names(), (QStringList{"DEEP.PX", "sub"}));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("sub/DEEP.DB"))));
    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].label, QStringLiteral("Form2.PushButton7_Click"));
    EXPECT_EQ(failures[0].line, 120);
    EXPECT_TRUE(failures[0].description.startsWith(
        "The Paradox table \"DEEP\" is in the subfolder \"sub\" of the Paradox folder"));
    EXPECT_EQ(failures[1].line, 120);
    EXPECT_TRUE(failures[1].description.contains("holds no file GONE.db"));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"DEEP", "GONE"}));
}

TEST_F(ParadoxRenameTest, AnEntryListedFromASubfolderNeverRenamesTheFoldersNamesake) {
    folder.Write(QStringLiteral("ORDERS.DB"));
    folder.Write(QStringLiteral("Archive/ORDERS.DB"));
    LoadParadoxTables(ui.List2, ui.fields);
    const int fromSubfolder = ListedFromSubfolder(ui.List2, 0) ? 0 : 1;
    ui.List2.SetSelected(fromSubfolder, true);
    ui.List2.SetListIndex(fromSubfolder);

    RenameParadoxTable(ui.screen);

    // Said before any new name is asked for; both files stay as they were.
    EXPECT_TRUE(ui.dialogs.prompts.empty());
    EXPECT_EQ(folder.Names(), (QStringList{"Archive", "ORDERS.DB"}));
    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].line, 120);
    EXPECT_TRUE(failures[0].description.startsWith(
        "The entry \"ORDERS\" stands for the table in the subfolder \"Archive\""))
        << failures[0].description.toStdString();
    EXPECT_EQ(Entries(ui.List2), (QStringList{"ORDERS", "ORDERS"}));
}

TEST_F(ParadoxRenameTest, ListedNamesWithSpecialLettersMoveTheirOwnFilesOnly) {
    for (const char* name : {"daß.db", "daß.mb", "dass.db", "dass.mb", "ıs.db", "ıs.px"}) {
        folder.Write(QString::fromUtf8(name));
    }
    LoadParadoxTables(ui.List2, ui.fields);

    Rename(QStringLiteral("DAß"), QStringLiteral("X"));
    ui.pointer.history.clear();
    Rename(QStringLiteral("IS"), QStringLiteral("Y"));

    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(folder.Names(), (QStringList{"X.db", "X.mb", "Y.db", "Y.px", "dass.db", "dass.mb"}));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"DASS", "X", "Y"}));
}

TEST_F(ParadoxRenameTest, EachOfTwoSpellingsRenamesItsOwnFileAndLeavesTheOthersCompanions) {
    for (const char* name : {"T.DB", "T.db", "T.MB"}) {
        folder.Write(QString::fromLatin1(name), name);
    }
    LoadParadoxTables(ui.List2, ui.fields);
    ASSERT_EQ(Entries(ui.List2), (QStringList{"T", "T"}));
    const int lower = TwinFileOfEntry(ui.List2, 0, folder.Path()) == QStringLiteral("T.db") ? 0 : 1;
    EXPECT_EQ(TwinFileOfEntry(ui.List2, 1 - lower, folder.Path()), QStringLiteral("T.DB"));
    ui.List2.SetSelected(lower, true);
    ui.List2.SetListIndex(lower);
    ui.dialogs.QueueInput(QStringLiteral("U"));

    RenameParadoxTable(ui.screen);

    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(folder.Names(), (QStringList{"T.DB", "T.MB", "U.MB", "U.db"}));
    EXPECT_EQ(folder.Read(QStringLiteral("U.db")), QByteArray("T.db"));
    EXPECT_EQ(Entries(ui.List2), (QStringList{"T", "U"}));
    EXPECT_EQ(TwinFileOfEntry(ui.List2, 0, folder.Path()), QStringLiteral("T.DB"));
}

TEST_F(ParadoxRenameTest, CancelRenamesNothingAndSaysNothing) {
    folder.Write(QStringLiteral("A.DB"));
    Fill(ui.List2, {"A"});

    Rename(QStringLiteral("A"), QString());

    EXPECT_EQ(ui.dialogs.prompts.size(), 1u);
    EXPECT_TRUE(ui.dialogs.boxes.empty());
    EXPECT_EQ(folder.Names(), QStringList{"A.DB"});
    EXPECT_EQ(Entries(ui.List2), QStringList{"A"});
}

TEST_F(ParadoxRenameTest, AsksForExactlyOneSelectedTable) {
    folder.Write(QStringLiteral("A.DB"));
    folder.Write(QStringLiteral("B.DB"));
    struct Case {
        QStringList selected;
        int current;  // -1: no current entry
        QString message;
    };
    const std::vector<Case> cases = {
        {{}, -1, QStringLiteral("Please select a table to rename.")},
        {{"A", "B"}, 1, QStringLiteral("Please select just one table to rename.")},
        {{}, 0, QStringLiteral("Please select just one table to rename.")},
    };
    for (const Case& c : cases) {
        ScreenUnderTest fresh{FolderField(folder.Path())};
        Fill(fresh.List2, {"A", "B"});
        SelectEntries(fresh.List2, c.selected);
        fresh.List2.SetListIndex(c.current);
        fresh.dialogs.QueueInput(QStringLiteral("NEW"));

        RenameParadoxTable(fresh.screen);

        EXPECT_EQ(PlainMessages(fresh.dialogs), QStringList{c.message});
        EXPECT_TRUE(ReportedFailures(fresh.dialogs).empty());
        EXPECT_TRUE(fresh.dialogs.prompts.empty());
        EXPECT_EQ(Entries(fresh.List2), (QStringList{"A", "B"}));
        EXPECT_EQ(fresh.pointer.history, hourglassThenArrow);
    }
    EXPECT_EQ(folder.Names(), (QStringList{"A.DB", "B.DB"}));
}

TEST_F(ParadoxRenameTest, TypedNamesTheFileSystemTakesAreUsedAsTyped) {
    const QStringList typed = {QStringLiteral(" spaced  name "), QStringLiteral("it's \"quoted\""),
                               QStringLiteral("Ünïcödé 表"), QStringLiteral("back\\slash")};
    for (const QString& newName : typed) {
        TableFolder own;
        own.Write(QStringLiteral("OLD.DB"), "rows");
        own.Write(QStringLiteral("OLD.MB"), "memos");
        ScreenUnderTest fresh{FolderField(own.Path())};
        Fill(fresh.List2, {"OLD"});
        SelectEntries(fresh.List2, {"OLD"});
        fresh.dialogs.QueueInput(newName);

        RenameParadoxTable(fresh.screen);

        EXPECT_TRUE(fresh.dialogs.boxes.empty()) << newName.toStdString();
        EXPECT_EQ(own.Names(), (QStringList{newName + ".DB", newName + ".MB"}));
        EXPECT_EQ(own.Read(newName + ".DB"), QByteArray("rows"));
        EXPECT_EQ(Entries(fresh.List2), QStringList{newName});
    }
}

TEST_F(ParadoxRenameTest, TypedNamesTheFileSystemRefusesAreReportedAndNothingIsLost) {
    for (const QString& newName : {QStringLiteral("no/such"), LongName(300)}) {
        TableFolder own;
        own.Write(QStringLiteral("OLD.DB"), "rows");
        own.Write(QStringLiteral("OLD.PX"), "index");
        ScreenUnderTest fresh{FolderField(own.Path())};
        Fill(fresh.List2, {"OLD"});
        SelectEntries(fresh.List2, {"OLD"});
        fresh.dialogs.QueueInput(newName);

        RenameParadoxTable(fresh.screen);

        const std::vector<ReportedFailure> failures = ReportedFailures(fresh.dialogs);
        ASSERT_EQ(failures.size(), 2u) << newName.toStdString();  // once for each spelling
        EXPECT_EQ(failures[0].label, QStringLiteral("Main.RenameFile"));
        EXPECT_EQ(failures[0].line, 100);
        EXPECT_EQ(own.Names(), (QStringList{"OLD.DB", "OLD.PX"}));
        EXPECT_EQ(own.Read(QStringLiteral("OLD.DB")), QByteArray("rows"));
        EXPECT_EQ(Entries(fresh.List2), QStringList{"OLD"});
    }
}

TEST_F(ParadoxRenameTest, AReadOnlyFolderRefusesTheCopyAndKeepsTheTable) {
    folder.Write(QStringLiteral("A.DB"), "rows");
    folder.Write(QStringLiteral("A.PX"), "index");
    Fill(ui.List2, {"A"});
    {
        ReadOnlyFolder readOnly(folder.Path());
        if (!readOnly.IsReadOnly()) {
            GTEST_SKIP() << "this system lets the folder be changed whatever its flags";
        }
        Rename(QStringLiteral("A"), QStringLiteral("B"));
    }
    EXPECT_EQ(RefusedCopies().size(), 2u);
    EXPECT_EQ(folder.Names(), (QStringList{"A.DB", "A.PX"}));
    EXPECT_EQ(Entries(ui.List2), QStringList{"A"});
}

TEST_F(ParadoxRenameTest, AFolderThatCannotBeOpenedIsReportedFirstAndTheCommandGoesOn) {
    ui.fields.folder = folder.PathOf(QStringLiteral("missing"));
    Fill(ui.List2, {"A"});

    Rename(QStringLiteral("A"), QStringLiteral("B"));

    const std::vector<ReportedFailure> failures = ReportedFailures(ui.dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].label, QStringLiteral("Form2.PushButton7_Click"));
    EXPECT_EQ(failures[0].line, 104);  // and not once more for the table it could not find
    EXPECT_EQ(Entries(ui.List2), QStringList{"A"});
}

}  // namespace
}  // namespace quorvex::test
