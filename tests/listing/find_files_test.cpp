#include "data/folder/find_files.h"
#include "data/core/failure.h"
#include "data/folder/wildcard.h"
#include "temp_tree.h"

#include <QDir>
#include <QSet>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

QSet<QString> AsSet(const QStringList& names) { return QSet<QString>(names.begin(), names.end()); }

TEST(Wildcard, MatchesLikeTheDirectorySearch) {
    EXPECT_TRUE(MatchesWildcard("a.db", "*.db"));
    EXPECT_TRUE(MatchesWildcard("A.DB", "*.db"));
    EXPECT_TRUE(MatchesWildcard("x.Db", "*.DB"));
    EXPECT_TRUE(MatchesWildcard(".db", "*.db"));  // "*" may stand for nothing
    EXPECT_FALSE(MatchesWildcard("a.dbx", "*.db"));
    EXPECT_FALSE(MatchesWildcard("adb", "*.db"));
    EXPECT_TRUE(MatchesWildcard("ÄRZTE.DB", "ärzte.*"));
    EXPECT_TRUE(MatchesWildcard("abc", "a?c"));
    EXPECT_FALSE(MatchesWildcard("ac", "a?c"));
    EXPECT_TRUE(MatchesWildcard("a.b.c.db", "*.*.db"));
    EXPECT_TRUE(MatchesWildcard("anything", "*"));
    EXPECT_FALSE(MatchesWildcard("a", ""));
    EXPECT_TRUE(MatchesWildcard("", "*"));
}

TEST(FindFiles, FindsTableFilesOfEveryExtensionCaseAndNothingElse) {
    TempTree tree;
    for (const char* name :
         {"lower.db", "UPPER.DB", "mixed.Db", "other.dB", "x.DB.db", ".hidden.db", "~temp.db",
          "with space.db", "naïve.db", "notes.txt", "table.dbx", "tabledb", "table.db.bak"}) {
        tree.File(QString::fromUtf8(name));
    }
    tree.Folder("folder.db");
    tree.File("sub/deeper.db");

    const QStringList found = FindFiles(tree.Root(), "*.db");
    EXPECT_EQ(AsSet(found),
              (QSet<QString>{"lower.db", "UPPER.DB", "mixed.Db", "other.dB", "x.DB.db",
                             ".hidden.db", "~temp.db", "with space.db", "naïve.db"}));
    EXPECT_EQ(found.size(), 9);  // each once
}

TEST(FindFiles, KeepsTheOrderOfTheDirectory) {
    TempTree tree;
    for (int i = 0; i < 50; ++i) {
        tree.File(QStringLiteral("t%1.db").arg(i * 7919 % 101));
    }
    QStringList directoryOrder;
    QDir dir(tree.Root());
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Unsorted)) {
        directoryOrder.append(name);
    }
    EXPECT_EQ(FindFiles(tree.Root(), "*.db"), directoryOrder);
}

TEST(FindFiles, TrailingSlashAndLetterCaseOfTheFolderDoNotMatter) {
    TempTree tree;
    tree.File("Data/one.db");
    EXPECT_EQ(FindFiles(tree.Path("Data"), "*.db"), QStringList{"one.db"});
    EXPECT_EQ(FindFiles(tree.Path("Data/"), "*.db"), QStringList{"one.db"});
    EXPECT_EQ(FindFiles(tree.Path("DATA"), "*.db"), QStringList{"one.db"});
    EXPECT_EQ(FindFiles(tree.Path("data/"), "*.db"), QStringList{"one.db"});
}

TEST(FindFiles, LinksCountByWhatTheyLeadTo) {
    TempTree tree;
    const QString target = tree.File("elsewhere/real.txt");
    tree.Folder("data");
    tree.Link(target, "data/linked.db");
    tree.Link(tree.Path("elsewhere"), "data/folderlink.db");
    tree.Link(tree.Path("missing"), "data/dangling.db");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.Path("data/pipe.db")).constData(), 0644), 0);

    // A pipe would block whoever opens it as a table; a folder or dangling link is no file.
    EXPECT_EQ(FindFiles(tree.Path("data"), "*.db"), QStringList{"linked.db"});
}

TEST(FindFiles, NamesThatAreNotValidTextShowUnrepresentablePartsAsQuestionMarks) {
    TempTree tree;
    TempTree::MakeFileBytes(tree.Bytes("caf\xe9.db"));
    EXPECT_EQ(FindFiles(tree.Root(), "*.db"), QStringList{"caf?.db"});
}

TEST(FindFiles, FoldersWithNothingToSearchYieldNothing) {
    TempTree tree;
    const QString file = tree.File("plain.db");
    EXPECT_TRUE(FindFiles(tree.Path("missing"), "*.db").isEmpty());
    EXPECT_TRUE(FindFiles(tree.Path("missing/deeper"), "*.db").isEmpty());
    EXPECT_TRUE(FindFiles(file, "*.db").isEmpty());  // a file, not a folder
    tree.Folder("empty");
    EXPECT_TRUE(FindFiles(tree.Path("empty"), "*.db").isEmpty());
}

TEST(FindFiles, AnUnreadableFolderYieldsNothing) {
    TempTree tree;
    tree.File("locked/secret.db");
    ::chmod(QFile::encodeName(tree.Root()).constData(), 0755);
    ::chmod(QFile::encodeName(tree.Path("locked")).constData(), 0311);  // no read permission
    // Root reads anything, so the search runs in a child process as an ordinary user.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) {
            ::_exit(3);
        }
        try {
            ::_exit(FindFiles(tree.Path("locked"), "*.db").isEmpty() ? 0 : 1);
        } catch (...) {
            ::_exit(2);
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: names found, 2: it raised, 3: could not drop root";
    ::chmod(QFile::encodeName(tree.Path("locked")).constData(), 0755);
}

TEST(FindFiles, FolderTextsNoSearchCanTakeRaiseFailure) {
    TempTree tree;
    const QString withNul = tree.Root() + QChar(u'\0') + QStringLiteral("x");
    EXPECT_THROW(FindFiles(withNul, "*.db"), Failure);
    const QString loneSurrogate = tree.Root() + QChar(0xD800);
    EXPECT_THROW(FindFiles(loneSurrogate, "*.db"), Failure);
    const QString tooLong = tree.Root() + QLatin1Char('/') + QString(5000, QLatin1Char('a'));
    try {
        FindFiles(tooLong, "*.db");
        ADD_FAILURE() << "a path longer than the system allows was searched";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains("File name too long")) << failure.what();
    }
}

TEST(FindFiles, AHundredThousandFilesInOneFolder) {
    TempTree tree;
    const QByteArray root = QFile::encodeName(tree.Root());
    for (int i = 0; i < 100000; ++i) {
        TempTree::MakeFileBytes(root + "/t" + QByteArray::number(i) + (i % 2 ? ".db" : ".px"));
    }
    const QStringList found = FindFiles(tree.Root(), "*.db");
    EXPECT_EQ(found.size(), 50000);
    EXPECT_TRUE(found.contains("t99999.db"));
}

}  // namespace
}  // namespace quorvex::test
