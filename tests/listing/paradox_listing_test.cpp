#include "data/core/failure.h"
#include "data/folder/path_case.h"
#include "shell/table_listing.h"
#include "recording_list.h"
#include "support/recording_ui.h"
#include "temp_tree.h"

#include <QSet>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

QSet<QString> AsSet(const QStringList& names) { return QSet<QString>(names.begin(), names.end()); }

TEST(LoadParadoxTables, ListsEveryTableOfTheTreeByItsBareUpperCaseName) {
    TempTree tree;
    for (const char* name : {"customers.db", "Orders.DB", "deep/er/still/parts.Db", "x.DB.db",
                             "sub/.hidden.db", "sub/~temp.db", "sub/notes.txt", ".secret/inside.db",
                             "what?/inside.db", "with space/it's.db", "umlaut/naïve.db"}) {
        tree.File(QString::fromUtf8(name));
    }
    RecordingList list;
    LoadParadoxTables(list, FolderField(tree.Root()));
    EXPECT_EQ(AsSet(list.added), (QSet<QString>{"CUSTOMERS", "ORDERS", "PARTS", "X.DB", ".HIDDEN",
                                                "IT'S", QString::fromUtf8("NAÏVE")}));
    EXPECT_EQ(list.added.size(), 7);
}

TEST(LoadParadoxTables, UpperCaseKeepsEveryCharacterSoEachNameLeadsBackToItsFile) {
    // Letters without a single upper-case letter of their own stay; names that differ only in
    // them stay apart.
    const std::vector<std::pair<const char*, const char*>> fileAndName = {
        {"daß.db", "DAß"}, {"dass.db", "DASS"}, {"ıs.db", "IS"}, {"İs.DB", "İS"},
        {"ﬁle.db", "ﬁLE"}, {"file.db", "FILE"}, {"𐐨x.db", "𐐀X"}};
    TempTree tree;
    QSet<QString> expected;
    for (const auto& [file, name] : fileAndName) {
        tree.File(QString::fromUtf8(file));
        expected.insert(QString::fromUtf8(name));
    }
    RecordingList list;
    LoadParadoxTables(list, FolderField(tree.Root()));
    EXPECT_EQ(AsSet(list.added), expected);
    for (const auto& [file, name] : fileAndName) {
        EXPECT_EQ(ExistingPathIgnoringCase(tree.Path(QString::fromUtf8(name) + ".DB")),
                  tree.Path(QString::fromUtf8(file)));
    }
}

TEST(LoadParadoxTables, EqualNamesInTwoFoldersGiveTwoEntriesTopFolderFirst) {
    TempTree tree;
    tree.File("level1/level2/same.db");
    tree.File("level1/SAME.DB");
    tree.File("Same.db");
    tree.File("level1/level2/other.db");
    RecordingList list;
    LoadParadoxTables(list, FolderField(tree.Root()));
    // Breadth-first: the top folder's table, then level 1's, then level 2's.
    ASSERT_EQ(list.added.size(), 4);
    EXPECT_EQ(list.added.mid(0, 2), (QStringList{"SAME", "SAME"}));
    EXPECT_EQ(AsSet(list.added.mid(2)), (QSet<QString>{"SAME", "OTHER"}));
}

TEST(LoadParadoxTables, AddsWithoutClearingOrChangingTheCurrentEntry) {
    TempTree tree;
    tree.File("new.db");
    RecordingList list;
    list.AddItem("KEPT");
    list.SetListIndex(0);
    LoadParadoxTables(list, FolderField(tree.Root()));
    EXPECT_EQ(list.added, (QStringList{"KEPT", "NEW"}));
    EXPECT_EQ(list.clears, 0);
    EXPECT_EQ(list.ListIndex(), 0);
}

TEST(LoadParadoxTables, AnEmptyFolderFieldAddsNothing) {
    RecordingList list;
    LoadParadoxTables(list, FolderField(QString()));
    EXPECT_TRUE(list.added.isEmpty());
}

TEST(LoadParadoxTables, TheFolderFieldIsMatchedIgnoringCaseWithOrWithoutTrailingSlash) {
    TempTree tree;
    tree.File("Data/sub/t.db");
    RecordingList list;
    LoadParadoxTables(list, FolderField(tree.Path("DATA")));
    LoadParadoxTables(list, FolderField(tree.Path("Data/")));
    EXPECT_EQ(list.added, (QStringList{"T", "T"}));
}

TEST(LoadParadoxTables, AFolderFieldNoSearchCanTakeRaisesFailure) {
    RecordingList list;
    EXPECT_THROW(LoadParadoxTables(list, FolderField(QStringLiteral("/tmp/x") + QChar(u'\0'))),
                 Failure);
    EXPECT_TRUE(list.added.isEmpty());
}

TEST(LoadParadoxTables, TheCorpusIsListed) {
    const QString corpus = QStringLiteral(QUORVEX_CORPUS_DIR);
    ASSERT_TRUE(QFileInfo::exists(corpus))
        << "The Paradox corpus is missing: " << corpus.toStdString();
    RecordingList list;
    LoadParadoxTables(list, FolderField(corpus));
    EXPECT_EQ(list.added.size(), 26);
    EXPECT_TRUE(list.added.contains("CUSTOMER"));
    EXPECT_TRUE(list.added.contains("ROMAN8"));
    EXPECT_TRUE(list.added.contains("GRAPHIC240"));
    for (const QString& name : list.added) {
        EXPECT_FALSE(name.endsWith(".DB")) << name.toStdString();
        EXPECT_EQ(name, name.toUpper());
    }
}

}  // namespace
}  // namespace quorvex::test
