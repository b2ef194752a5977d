// Looking files up ignoring case, and the two quiet file helpers built on it, on real folders.

#include "data/folder/path_case.h"
#include "manage_support.h"
#include "shell/files.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace quorvex::test {
namespace {

TEST(ResolvePathIgnoringCase, KeepsAnExactPathAndFindsOtherSpellings) {
    TableFolder folder;
    folder.Write(QStringLiteral("Data/orders.db"));
    const QString exact = folder.PathOf(QStringLiteral("Data/orders.db"));
    EXPECT_EQ(ResolvePathIgnoringCase(exact), exact);
    EXPECT_EQ(ResolvePathIgnoringCase(folder.PathOf(QStringLiteral("DATA/ORDERS.DB"))), exact);
    EXPECT_EQ(ResolvePathIgnoringCase(folder.PathOf(QStringLiteral("data/Orders.Db"))), exact);
}

TEST(ResolvePathIgnoringCase, LeavesAPathThatMatchesNothingUnchanged) {
    TableFolder folder;
    folder.Write(QStringLiteral("orders.db"));
    for (const QString& missing :
         {QStringLiteral("customers.db"), QStringLiteral("nope/orders.db"),
          QStringLiteral("orders.db/inside"), QStringLiteral("orders.dbx")}) {
        const QString path = folder.PathOf(missing);
        EXPECT_EQ(ResolvePathIgnoringCase(path), path);
    }
    EXPECT_EQ(ResolvePathIgnoringCase(QString()), QString());
}

TEST(ResolvePathIgnoringCase, TwoSpellingsWithoutAnExactOneMatchNeither) {
    // Only a file system that keeps case can hold both; then no single file is meant.
    TableFolder folder;
    folder.Write(QStringLiteral("orders.db"), "lower");
    folder.Write(QStringLiteral("Orders.db"), "mixed");
    const QString other = folder.PathOf(QStringLiteral("ORDERS.DB"));
    EXPECT_EQ(ResolvePathIgnoringCase(other), other);
    EXPECT_FALSE(FileExists(other));
    // An exact spelling still names its own file.
    const QString exact = folder.PathOf(QStringLiteral("Orders.db"));
    EXPECT_EQ(ResolvePathIgnoringCase(exact), exact);
}

TEST(ResolvePathIgnoringCase, MatchesNonAsciiLettersAndOddSeparators) {
    TableFolder folder;
    folder.Write(QStringLiteral("Écoles/Straße Ä.db"));
    EXPECT_EQ(ResolvePathIgnoringCase(folder.PathOf(QStringLiteral("éCOLES//straße ä.DB"))),
              folder.PathOf(QStringLiteral("Écoles//Straße Ä.db")));
    // "ß" and "SS" are different letters to a file system that ignores case.
    EXPECT_FALSE(FileExists(folder.PathOf(QStringLiteral("ÉCOLES/./STRASSE Ä.DB"))));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("ÉCOLES/./STRAßE ä.db"))));
}

TEST(ResolvePathIgnoringCase, WorksOnRelativePaths) {
    TableFolder folder;
    folder.Write(QStringLiteral("Sub/Table.DB"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.Path()));
    EXPECT_EQ(ResolvePathIgnoringCase(QStringLiteral("sub/table.db")),
              QStringLiteral("Sub/Table.DB"));
    EXPECT_TRUE(FileExists(QStringLiteral("./SUB/TABLE.db")));
    QDir::setCurrent(previous);
}

TEST(ResolveNewPathIgnoringCase, FindsTheFolderAndKeepsTheNewNameAsTyped) {
    TableFolder folder;
    folder.Write(QStringLiteral("Data/orders.db"));
    // An existing file, in any spelling, is named as it exists: it must not be written over.
    EXPECT_EQ(ResolveNewPathIgnoringCase(folder.PathOf(QStringLiteral("DATA/ORDERS.DB"))),
              folder.PathOf(QStringLiteral("Data/orders.db")));
    // A new file goes into the existing folder under the typed name.
    EXPECT_EQ(ResolveNewPathIgnoringCase(folder.PathOf(QStringLiteral("data/New Name.DB"))),
              folder.PathOf(QStringLiteral("Data/New Name.DB")));
    // A folder that does not exist stays as typed, so writing there fails.
    const QString nowhere = folder.PathOf(QStringLiteral("none/x.DB"));
    EXPECT_EQ(ResolveNewPathIgnoringCase(nowhere), nowhere);
    EXPECT_EQ(ResolveNewPathIgnoringCase(QStringLiteral("plain.DB")), QStringLiteral("plain.DB"));
}

TEST(FileExists, TellsFilesAndFoldersInAnySpellingAndNeverFails) {
    TableFolder folder;
    folder.Write(QStringLiteral("orders.db"));
    folder.Subfolder(QStringLiteral("Sub"));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("orders.db"))));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("ORDERS.DB"))));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("SUB"))));
    EXPECT_TRUE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder.PathOf(QStringLiteral("customers.db"))));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FileExists(folder.PathOf(QString(300, QLatin1Char('x')))));
    EXPECT_FALSE(FileExists(QStringLiteral("/no/such/folder/at/all.db")));
}

TEST(FileExists, ABrokenLinkIsNoFile) {
    TableFolder folder;
    const QString link = folder.PathOf(QStringLiteral("LINK.DB"));
    ASSERT_EQ(::symlink("/no/such/target", QFile::encodeName(link).constData()), 0);
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(FileExists(folder.PathOf(QStringLiteral("link.db"))));
}

TEST(DeleteFileQuietly, DeletesTheFileAnySpellingNames) {
    TableFolder folder;
    folder.Write(QStringLiteral("orders.db"));
    folder.Write(QStringLiteral("orders.px"));
    DeleteFileQuietly(folder.PathOf(QStringLiteral("ORDERS.DB")));
    EXPECT_EQ(folder.Names(), QStringList{QStringLiteral("orders.px")});
}

TEST(DeleteFileQuietly, TheSecondSpellingFindsNothingOnceTheFirstDeletedTheFile) {
    // The two data-file spellings the commands try behave as on a file system that ignores case.
    TableFolder folder;
    folder.Write(QStringLiteral("orders.db"));
    const QString upper = folder.PathOf(QStringLiteral("ORDERS.DB"));
    const QString lower = folder.PathOf(QStringLiteral("ORDERS.db"));
    ASSERT_TRUE(FileExists(upper));
    DeleteFileQuietly(upper);
    EXPECT_FALSE(FileExists(lower));
    EXPECT_FALSE(FileExists(upper));
}

TEST(DeleteFileQuietly, IgnoresEveryFailureAndNeverDeletesAFolder) {
    TableFolder folder;
    folder.Subfolder(QStringLiteral("Sub.DB"));
    folder.Write(QStringLiteral("Sub.DB/inner.db"));
    DeleteFileQuietly(folder.PathOf(QStringLiteral("missing.db")));
    DeleteFileQuietly(QString());
    DeleteFileQuietly(folder.PathOf(QStringLiteral("SUB.DB")));
    EXPECT_EQ(folder.Names(), QStringList{QStringLiteral("Sub.DB")});
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("Sub.DB/inner.db"))));
}

TEST(DeleteFileQuietly, AFileInAReadOnlyFolderStaysWithoutAFailure) {
    TableFolder folder;
    folder.Write(QStringLiteral("ORDERS.DB"));
    ReadOnlyFolder readOnly(folder.Path());
    if (!readOnly.IsReadOnly()) {
        GTEST_SKIP() << "this system lets the folder be changed whatever its flags";
    }
    DeleteFileQuietly(folder.PathOf(QStringLiteral("orders.db")));
    EXPECT_TRUE(FileExists(folder.PathOf(QStringLiteral("ORDERS.DB"))));
}

}  // namespace
}  // namespace quorvex::test
