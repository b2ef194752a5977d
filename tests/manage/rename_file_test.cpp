// Renaming a file by copy and delete, on real folders.

#include "manage/rename_file.h"
#include "manage_support.h"
#include "support/immutable_flag.h"

#include <QFile>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

// Every byte value, and more than one buffer's worth, so a text-mode or short copy shows.
QByteArray AwkwardContents() {
    QByteArray bytes;
    for (int round = 0; round < 3000; ++round) {
        for (int value = 0; value < 256; ++value) {
            bytes.append(static_cast<char>(value));
        }
    }
    return bytes;
}

class RenameFileTest : public ::testing::Test {
  protected:
    // Expects exactly one failure report, for the copy, and returns its description.
    QString OneCopyFailure() {
        const std::vector<ReportedFailure> failures = ReportedFailures(dialogs);
        EXPECT_EQ(failures.size(), 1u);
        if (failures.empty()) {
            return QString();
        }
        EXPECT_EQ(failures[0].label, QStringLiteral("Main.RenameFile"));
        EXPECT_EQ(failures[0].line, 100);
        return failures[0].description;
    }

    TableFolder folder;
    ScriptedDialogs dialogs;
};

TEST_F(RenameFileTest, MovesTheContentsToTheNewNameAndRemovesTheOld) {
    const QByteArray contents = AwkwardContents();
    folder.Write(QStringLiteral("ORDERS.DB"), contents);
    EXPECT_TRUE(RenameFile(dialogs, folder.PathOf(QStringLiteral("ORDERS.DB")),
                           folder.PathOf(QStringLiteral("SALES.DB"))));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(folder.Names(), QStringList{QStringLiteral("SALES.DB")});
    EXPECT_EQ(folder.Read(QStringLiteral("SALES.DB")), contents);
}

TEST_F(RenameFileTest, FindsTheSourceAndTheFolderIgnoringCase) {
    folder.Write(QStringLiteral("Paradox/orders.db"), "rows");
    EXPECT_TRUE(RenameFile(dialogs, folder.PathOf(QStringLiteral("PARADOX/ORDERS.DB")),
                           folder.PathOf(QStringLiteral("paradox/Sales.DB"))));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(folder.Read(QStringLiteral("Paradox/Sales.DB")), QByteArray("rows"));
    EXPECT_TRUE(folder.Read(QStringLiteral("Paradox/orders.db")).isNull());
}

TEST_F(RenameFileTest, NeverWritesOverAnExistingFileInAnySpelling) {
    folder.Write(QStringLiteral("ORDERS.DB"), "orders");
    folder.Write(QStringLiteral("sales.db"), "sales");
    EXPECT_FALSE(RenameFile(dialogs, folder.PathOf(QStringLiteral("ORDERS.DB")),
                            folder.PathOf(QStringLiteral("SALES.DB"))));
    EXPECT_EQ(OneCopyFailure(), QStringLiteral("Destination file exists"));
    EXPECT_EQ(folder.Names(), (QStringList{"ORDERS.DB", "sales.db"}));
    EXPECT_EQ(folder.Read(QStringLiteral("ORDERS.DB")), QByteArray("orders"));
    EXPECT_EQ(folder.Read(QStringLiteral("sales.db")), QByteArray("sales"));
}

// Refused destinations (taken names, the source itself, names the file system refuses, a
// read-only folder) are exercised through the Paradox rename command.

TEST_F(RenameFileTest, ASourceThatCannotBeCopiedIsReportedAndCreatesNothing) {
    folder.Write(QStringLiteral("SUB.DB/inner.db"));
    for (const char* source : {"GONE.DB", "SUB.DB"}) {
        dialogs.boxes.clear();
        EXPECT_FALSE(RenameFile(dialogs, folder.PathOf(QString::fromLatin1(source)),
                                folder.PathOf(QStringLiteral("NEW.DB"))));
        EXPECT_TRUE(OneCopyFailure().contains(QString::fromLatin1(source)));
    }
    EXPECT_EQ(folder.Names(), QStringList{QStringLiteral("SUB.DB")});
}

TEST_F(RenameFileTest, ASourceThatCannotBeDeletedLeavesTwoCopiesAndSaysWhy) {
    // Nothing is lost, but the file now has both names: the user is told, with the reason.
    const QString source = folder.Write(QStringLiteral("ORDERS.DB"), "orders");
    if (!SetImmutableFlag(source, true)) {
        GTEST_SKIP() << "files cannot be made immutable here";
    }
    const bool renamed = RenameFile(dialogs, source, folder.PathOf(QStringLiteral("SALES.DB")));
    SetImmutableFlag(source, false);

    EXPECT_TRUE(renamed);
    const std::vector<ReportedFailure> failures = ReportedFailures(dialogs);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].label, QStringLiteral("Main.RenameFile"));
    EXPECT_EQ(failures[0].line, 102);
    EXPECT_EQ(failures[0].description, QStringLiteral("Operation not permitted: ") + source);
    EXPECT_EQ(folder.Names(), (QStringList{"ORDERS.DB", "SALES.DB"}));
    EXPECT_EQ(folder.Read(QStringLiteral("SALES.DB")), QByteArray("orders"));
}

}  // namespace
}  // namespace quorvex::test
