#include "data/folder/collect_subfolders.h"
#include "data/core/failure.h"
#include "temp_tree.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QSet>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

// The subfolder names of a folder in directory order, as the walk is expected to meet them.
QStringList SubfoldersInDirectoryOrder(const QString& folder) {
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
}

TEST(CollectSubfolders, WalksBreadthFirstGroupedByParentInDirectoryOrder) {
    TempTree tree;
    for (const char* path : {"a/a1/a11", "a/a2", "b/b1/b11/b111", "b/b2", "c"}) {
        tree.Folder(path);
    }
    const QString root = tree.Root() + QLatin1Char('/');
    QStringList folders{root};
    CollectSubfolders(folders, true);

    // Expected: level by level, each level's folders grouped by parent in the previous level's
    // order and, within a parent, in the directory's order.
    QStringList expected{root};
    QStringList level{root};
    while (!level.isEmpty()) {
        QStringList next;
        for (const QString& parent : level) {
            for (const QString& name : SubfoldersInDirectoryOrder(parent)) {
                next.append(parent + name + QLatin1Char('/'));
            }
        }
        expected += next;
        level = next;
    }
    EXPECT_EQ(folders, expected);
    EXPECT_EQ(folders.size(), 11);
    for (const QString& folder : folders) {
        EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    }
}

TEST(CollectSubfolders, GoesAsDeepAsTheTree) {
    TempTree tree;
    QString path = "d";
    for (int depth = 1; depth < 200; ++depth) {
        path += "/d";
    }
    tree.Folder(path);
    QStringList folders{tree.Root() + QLatin1Char('/')};
    CollectSubfolders(folders, true);
    EXPECT_EQ(folders.size(), 201);
    EXPECT_EQ(folders.last(), tree.Path(path) + QLatin1Char('/'));
}

TEST(CollectSubfolders, LeavesOutHiddenQuestionMarkAndUndecodableFolders) {
    TempTree tree;
    tree.Folder(".hidden/inner");
    tree.Folder("what?/inner");
    tree.Folder("~tilde");
    tree.Folder("visible");
    tree.File("file.db");
    TempTree::MakeFolderBytes(tree.Bytes("bad\xff/inner"));
    QStringList folders{tree.Root() + QLatin1Char('/')};
    CollectSubfolders(folders, true);
    EXPECT_EQ(QSet<QString>(folders.begin(), folders.end()),
              (QSet<QString>{tree.Root() + "/", tree.Path("~tilde/"), tree.Path("visible/")}));
}

TEST(CollectSubfolders, DoesNotEnterFoldersThroughLinksSoALoopEnds) {
    TempTree tree;
    tree.Folder("a/b");
    tree.Link(tree.Root(), "a/b/up");  // back to the top: an endless tree if followed
    tree.Link(tree.Path("a"), "sideways");
    tree.Link("b", "a/relative");
    QStringList folders{tree.Root() + QLatin1Char('/')};
    CollectSubfolders(folders, true);
    EXPECT_EQ(folders, (QStringList{tree.Root() + "/", tree.Path("a/"), tree.Path("a/b/")}));
}

TEST(CollectSubfolders, SkipsWhatCannotBeListed) {
    TempTree tree;
    tree.File("plain.db");
    QStringList folders{tree.Path("missing/"), tree.Path("plain.db/"), tree.Root() + "/"};
    CollectSubfolders(folders, true);
    EXPECT_EQ(folders.size(), 3);
}

// Counts the events it receives.
class EventCounter : public QObject {
  public:
    int seen = 0;

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            ++seen;
            return true;
        }
        return QObject::event(event);
    }
};

TEST(CollectSubfolders, LetsPendingEventsRunWhileItWalks) {
    TempTree tree;
    tree.Folder("a");
    EventCounter counter;
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    QStringList folders{tree.Root() + QLatin1Char('/')};
    CollectSubfolders(folders, true);
    EXPECT_EQ(counter.seen, 1);
}

}  // namespace
}  // namespace quorvex::test

namespace quorvex::test {
namespace {

// Writes down what the walk reports, folder by folder.
class SeenFolders : public FolderReadObserver {
  public:
    QStringList folders;
    QList<QStringList> files;
    void FolderRead(const QString& folder) override {
        folders.append(folder);
        files.append(QStringList());
    }
    void FileInFolder(const QString& fileName) override { files.last().append(fileName); }
};

TEST(CollectSubfolders, ReportsEachFolderItReadsInListOrderWithItsFiles) {
    TempTree tree;
    tree.File("a/inner.db");
    tree.File("a/.hidden.db");
    tree.File("b/notes.txt");
    tree.File(".skipped/never.db");
    tree.Link(tree.Path("a/inner.db"), "b/link.db");
    tree.Link(tree.Path("a"), "b/folderlink");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.Path("b/pipe.db")).constData(), 0644), 0);

    QStringList folders{tree.Root() + QLatin1Char('/')};
    SeenFolders seen;
    CollectSubfolders(folders, true, seen);
    EXPECT_EQ(seen.folders, folders);
    ASSERT_EQ(seen.files.size(), 3);
    EXPECT_TRUE(seen.files[0].isEmpty());
    const int a = folders.indexOf(tree.Path("a/"));
    const int b = folders.indexOf(tree.Path("b/"));
    EXPECT_EQ(QSet<QString>(seen.files[a].begin(), seen.files[a].end()),
              (QSet<QString>{"inner.db", ".hidden.db"}));
    EXPECT_EQ(QSet<QString>(seen.files[b].begin(), seen.files[b].end()),
              (QSet<QString>{"notes.txt", "link.db"}));
}

TEST(CollectSubfolders, AFolderMetTwiceIsReadOnce) {
    TempTree tree;
    tree.Folder("x/y");
    QStringList folders{tree.Path("x/"), tree.Path("x/")};
    SeenFolders seen;
    CollectSubfolders(folders, true, seen);
    EXPECT_EQ(seen.folders, (QStringList{tree.Path("x/"), tree.Path("x/y/")}));
    EXPECT_EQ(folders, (QStringList{tree.Path("x/"), tree.Path("x/"), tree.Path("x/y/")}));
}

}  // namespace
}  // namespace quorvex::test
