#include "program_fixture.h"

#include "support/immutable_flag.h"
#include "support/test_server.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

constexpr int kCustomerRows = 20;

// How a table file is kept from being changed: by its permission bits (which on Linux guard the
// file's contents, not its name in a writable folder), or by the file system itself (the
// immutable flag, which even root cannot get past: what a read-only mount or a locked file
// looks like).
enum class Protection { PermissionBits, Immutable };

std::string ProtectionName(const ::testing::TestParamInfo<Protection>& info) {
    return info.param == Protection::PermissionBits ? "PermissionBits" : "Immutable";
}

class ProtectedFile {
  public:
    ProtectedFile(const QString& path, Protection how) : path_(QFile::encodeName(path)), how_(how) {
        if (how_ == Protection::PermissionBits) {
            applied_ = ::chmod(path_.constData(), 0444) == 0;
        } else {
            applied_ = SetImmutable(true);
        }
    }
    ~ProtectedFile() {
        if (how_ == Protection::Immutable && applied_) {
            SetImmutable(false);  // else the test's folder could never be removed
        }
    }
    ProtectedFile(const ProtectedFile&) = delete;
    ProtectedFile& operator=(const ProtectedFile&) = delete;
    bool Applied() const { return applied_; }

  private:
    bool SetImmutable(bool on) const { return SetImmutableFlag(QFile::decodeName(path_), on); }

    QByteArray path_;
    Protection how_;
    bool applied_ = false;
};

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ReadOnlyTableFile : public ProgramTest, public ::testing::WithParamInterface<Protection> {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // CUSTOMER keeps its long notes in CUSTOMER.MB beside it.
        customerFile = WriteMemoTable(QStringLiteral("CUSTOMER.DB"), kCustomerRows);
        ASSERT_TRUE(QFileInfo::exists(tables.filePath(QStringLiteral("CUSTOMER.MB"))));
        ordersFile = WriteNumberedTable(QStringLiteral("ORDERS.DB"), 5);
        original = Contents(customerFile);
        ordersOriginal = Contents(ordersFile);
        ASSERT_EQ(ParadoxRowCount(tables.path(), QStringLiteral("CUSTOMER")), kCustomerRows);

        EnterLogin(tables.path(), TestServerSid());
        form2 = Next();
        ASSERT_NE(form2, nullptr);
        ASSERT_EQ(Entries(form2->ParadoxList()), (QStringList{"CUSTOMER", "ORDERS"}));

        protection = std::make_unique<ProtectedFile>(customerFile, GetParam());
        if (!protection->Applied()) {
            GTEST_SKIP() << "this file system or user cannot protect a file that way";
        }
    }
    void TearDown() override {
        protection.reset();
        ProgramTest::TearDown();
    }

    QString customerFile;
    QString ordersFile;
    QByteArray original;
    QByteArray ordersOriginal;
    Form2* form2 = nullptr;
    std::unique_ptr<ProtectedFile> protection;
};

TEST_P(ReadOnlyTableFile, DeleteSaysWhyAFileStaysAndTheListStaysTrueToTheFolder) {
    SelectEntries(form2->ParadoxList(), {QStringLiteral("CUSTOMER")});
    Click(*form2, "PushButton5");

    const bool stillThere = QFileInfo::exists(customerFile);
    const std::vector<Report> reports = Reports();
    ASSERT_EQ(reports.size(), stillThere ? 1u : 0u);
    if (stillThere) {
        EXPECT_TRUE(reports[0].description.contains(QStringLiteral("\nCUSTOMER: ")));
    }
    EXPECT_EQ(Entries(form2->ParadoxList()).contains(QStringLiteral("CUSTOMER")), stillThere);
    if (stillThere) {
        EXPECT_EQ(Contents(customerFile), original);
    }
    if (GetParam() == Protection::Immutable) {
        EXPECT_TRUE(stillThere) << "the file system refuses the delete";
    }
    EXPECT_EQ(Contents(ordersFile), ordersOriginal);
    EXPECT_TRUE(Entries(form2->ParadoxList()).contains(QStringLiteral("ORDERS")));
    EXPECT_EQ(form2->MousePointerState().MousePointer(), vbDefault);
}

TEST_P(ReadOnlyTableFile, RenameLosesNoRowAndLeavesAnOldFileThatStaysUntouched) {
    SelectEntries(form2->ParadoxList(), {QStringLiteral("CUSTOMER")});
    dialogs.QueueInput(QStringLiteral("CLIENTS"));
    Click(*form2, "PushButton7");

    // Where the old file cannot go, the rename of the file says so, once (the second spelling
    // names the file already copied and leaves it alone); nothing else is reported.
    const std::vector<Report> reports = Reports();
    EXPECT_EQ(reports.size(), GetParam() == Protection::Immutable ? 1u : 0u);
    for (const Report& report : reports) {
        EXPECT_EQ(report.label, QStringLiteral("Main.RenameFile"));
        EXPECT_EQ(report.line, 102) << report.description.toStdString();
    }
    // The old data file stays where the file system refuses its delete, and so does its entry.
    const QStringList expected = GetParam() == Protection::Immutable
                                     ? QStringList{"CLIENTS", "CUSTOMER", "ORDERS"}
                                     : QStringList{"CLIENTS", "ORDERS"};
    EXPECT_EQ(Entries(form2->ParadoxList()), expected);
    // The renamed table reads whole, its notes from the .MB that followed it.
    EXPECT_EQ(ParadoxRowCount(tables.path(), QStringLiteral("CLIENTS")), kCustomerRows);
    EXPECT_EQ(Contents(tables.filePath(QStringLiteral("CLIENTS.DB"))), original);
    if (QFileInfo::exists(customerFile)) {
        EXPECT_EQ(Contents(customerFile), original);
    }
    if (GetParam() == Protection::Immutable) {
        EXPECT_TRUE(QFileInfo::exists(customerFile)) << "the file system refuses the delete";
        // The old table stays on disk, so it keeps its memo values too.
        EXPECT_EQ(ParadoxRowCount(tables.path(), QStringLiteral("CUSTOMER")), kCustomerRows);
        EXPECT_TRUE(QFileInfo::exists(tables.filePath(QStringLiteral("CUSTOMER.MB"))));
    }
    EXPECT_EQ(Contents(ordersFile), ordersOriginal);
    EXPECT_EQ(form2->MousePointerState().MousePointer(), vbDefault);
}

INSTANTIATE_TEST_SUITE_P(Protections, ReadOnlyTableFile,
                         ::testing::Values(Protection::PermissionBits, Protection::Immutable),
                         ProtectionName);

}  // namespace
}  // namespace quorvex::test
