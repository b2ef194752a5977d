#include "data/access/readiness.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace quorvex::test {
namespace {

TEST(CanConnectToOracle, AnswersTrueForAGoodLogin) {
    EXPECT_TRUE(CanConnectToOracle(TestServerLogin()));
    // Each call opens and drops a connection of its own: asking again works the same.
    EXPECT_TRUE(CanConnectToOracle(TestServerLogin()));
}

TEST(CanConnectToOracle, AnswersFalseWithoutThrowingForEveryBadLogin) {
    QTemporaryDir nowhere(QStringLiteral("/tmp/qvx-none-XXXXXX"));
    ASSERT_TRUE(nowhere.isValid());
    QList<FixedFields> logins;
    FixedFields wrongPassword = TestServerLogin();
    wrongPassword.password = QStringLiteral("wrong");
    logins.append(wrongPassword);
    FixedFields unknownUser = TestServerLogin();
    unknownUser.user = QStringLiteral("nobody");
    logins.append(unknownUser);
    FixedFields unreachable = TestServerLogin();
    unreachable.sid = nowhere.path();
    logins.append(unreachable);
    logins.append(FixedFields());  // all empty
    FixedFields semicolon = TestServerLogin();
    semicolon.password = QStringLiteral("tiger;Uid=postgres");
    logins.append(semicolon);
    FixedFields huge = TestServerLogin();
    huge.password = QString(10000, u'z');
    logins.append(huge);
    FixedFields dsn = TestServerLogin();
    dsn.password = QStringLiteral("x.dsn");
    logins.append(dsn);
    for (const FixedFields& login : logins) {
        bool answer = true;
        EXPECT_NO_THROW(answer = CanConnectToOracle(login));
        EXPECT_FALSE(answer) << "user " << login.user.toStdString() << ", password of "
                             << login.password.size() << " characters";
    }
}

// A folder of the test's own with the given files (and folders, ending in "/").
class ParadoxFolder : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    QString Make(const QStringList& entries) {
        for (const QString& entry : entries) {
            const QString path = root.filePath(entry);
            if (entry.endsWith(u'/')) {
                EXPECT_TRUE(QDir().mkpath(path));
            } else {
                QDir().mkpath(QFileInfo(path).path());
                QFile file(path);
                EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
            }
        }
        return root.path();
    }

    static bool HasTables(const QString& folder) {
        FixedFields fields;
        fields.folder = folder;
        return ParadoxFolderHasTables(fields);
    }

    QTemporaryDir root;
};

TEST_F(ParadoxFolder, AnEmptyFieldHasNoTables) { EXPECT_FALSE(HasTables(QString())); }

TEST_F(ParadoxFolder, ATableFileInTheFolderItselfIsEnough) {
    EXPECT_TRUE(HasTables(Make({QStringLiteral("CUSTOMER.DB")})));
}

TEST_F(ParadoxFolder, TheExtensionMatchesInAnyCase) {
    for (const QString& name : {QStringLiteral("a.db"), QStringLiteral("b.DB"),
                                QStringLiteral("c.Db"), QStringLiteral("d.dB")}) {
        QTemporaryDir folder;
        QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
        EXPECT_TRUE(HasTables(folder.path())) << name.toStdString();
    }
}

TEST_F(ParadoxFolder, HiddenAndTildeNamesCount) {
    QTemporaryDir hidden;
    QFile(hidden.filePath(QStringLiteral(".secret.db"))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(HasTables(hidden.path()));
    QTemporaryDir tilde;
    QFile(tilde.filePath(QStringLiteral("~TEMP.DB"))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(HasTables(tilde.path()));
}

TEST_F(ParadoxFolder, TablesOnlyInSubfoldersDoNotCount) {
    EXPECT_FALSE(HasTables(Make({QStringLiteral("sub/deeper/ORDERS.DB")})));
}

TEST_F(ParadoxFolder, FoldersAndOtherNamesAreNotTables) {
    EXPECT_FALSE(HasTables(
        Make({QStringLiteral("folder.db/"), QStringLiteral("notes.dbx"),
              QStringLiteral("old.db.bak"), QStringLiteral("db"), QStringLiteral("CUSTOMER.PX")})));
}

TEST_F(ParadoxFolder, ATrailingSlashMakesNoDifference) {
    const QString folder = Make({QStringLiteral("PARTS.DB")});
    EXPECT_TRUE(HasTables(folder));
    EXPECT_TRUE(HasTables(folder + u'/'));
}

TEST_F(ParadoxFolder, AMissingFolderHasNoTables) {
    EXPECT_FALSE(HasTables(root.filePath(QStringLiteral("does-not-exist"))));
    EXPECT_FALSE(HasTables(Make({})));
}

}  // namespace
}  // namespace quorvex::test
