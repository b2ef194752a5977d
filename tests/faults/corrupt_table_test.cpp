#include "program_fixture.h"

#include "support/test_server.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <random>

namespace quorvex::test {
namespace {

constexpr int kGoodRows = 40;
constexpr int kBrokenRows = 400;

// Ways a table file is found damaged on disk, each applied to BROKEN.DB, which sits between two
// good tables in the list (and so in the middle of the transfer's walk).
enum class Damage {
    EmptyFile,
    HeaderOnly,
    CutInsideABlock,
    RandomBytes,
    BlockClaimsMoreRowsThanFit,
    FieldCountFarTooHigh,
    BlockChainLoopsBack,
    BlockChainLeavesTheFile,
    MissingMemoFile,
};

std::string DamageName(const ::testing::TestParamInfo<Damage>& info) {
    switch (info.param) {
        case Damage::EmptyFile:
            return "EmptyFile";
        case Damage::HeaderOnly:
            return "HeaderOnly";
        case Damage::CutInsideABlock:
            return "CutInsideABlock";
        case Damage::RandomBytes:
            return "RandomBytes";
        case Damage::BlockClaimsMoreRowsThanFit:
            return "BlockClaimsMoreRowsThanFit";
        case Damage::FieldCountFarTooHigh:
            return "FieldCountFarTooHigh";
        case Damage::BlockChainLoopsBack:
            return "BlockChainLoopsBack";
        case Damage::BlockChainLeavesTheFile:
            return "BlockChainLeavesTheFile";
        case Damage::MissingMemoFile:
            return "MissingMemoFile";
    }
    return "Unknown";
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void PutU16(QByteArray& bytes, int offset, std::uint16_t value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

void PutU32(QByteArray& bytes, int offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

int U16(const QByteArray& bytes, int offset) {
    return static_cast<std::uint8_t>(bytes[offset]) |
           (static_cast<std::uint8_t>(bytes[offset + 1]) << 8);
}

class CorruptTableAmongGoodOnes : public ProgramTest, public ::testing::WithParamInterface<Damage> {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        DropAllTables();
        WriteNumberedTable(QStringLiteral("ALPHA.DB"), kGoodRows);
        WriteNumberedTable(QStringLiteral("OMEGA.DB"), kGoodRows);
        broken = WriteNumberedTable(QStringLiteral("BROKEN.DB"), kBrokenRows);
    }

    void Spoil(Damage how) {
        QByteArray bytes = ReadAll(broken);
        ASSERT_GT(bytes.size(), 4096);
        const int headerSize = U16(bytes, 0x02);
        const int blockSize = static_cast<std::uint8_t>(bytes[0x05]) * 1024;
        const int firstBlock = headerSize;  // block 1
        switch (how) {
            case Damage::EmptyFile:
                bytes.clear();
                break;
            case Damage::HeaderOnly:
                bytes.truncate(headerSize);
                break;
            case Damage::CutInsideABlock:
                bytes.truncate(headerSize + blockSize + blockSize / 3);
                break;
            case Damage::RandomBytes: {
                std::mt19937 random(20150219);
                for (char& byte : bytes) {
                    byte = static_cast<char>(random() & 0xFF);
                }
                break;
            }
            case Damage::BlockClaimsMoreRowsThanFit:
                PutU16(bytes, firstBlock + 4, 0x7FFF);  // block 1's last record offset
                break;
            case Damage::FieldCountFarTooHigh:
                PutU16(bytes, 0x21, 0xFFFF);
                break;
            case Damage::BlockChainLoopsBack:
                PutU16(bytes, firstBlock + blockSize, 1);  // block 2 leads back to block 1
                break;
            case Damage::BlockChainLeavesTheFile:
                PutU16(bytes, firstBlock, 0x7FFF);  // block 1 leads far past the end
                break;
            case Damage::MissingMemoFile:
                broken = WriteMemoTable(QStringLiteral("BROKEN.DB"), kBrokenRows);
                ASSERT_TRUE(QFile::remove(tables.filePath(QStringLiteral("BROKEN.MB"))));
                return;
        }
        WriteAll(broken, bytes);
    }

    QString broken;
};

TEST_P(CorruptTableAmongGoodOnes, TheGoodTablesArriveWholeAndTheBrokenOneIsReported) {
    Spoil(GetParam());
    EnterLogin(tables.path(), TestServerSid());
    Form2* form2 = Next();
    ASSERT_NE(form2, nullptr) << dialogs.Texts().join(u'\n').toStdString();
    ASSERT_EQ(Entries(form2->ParadoxList()), (QStringList{"ALPHA", "BROKEN", "OMEGA"}));

    SelectEntries(form2->ParadoxList(),
                  {QStringLiteral("ALPHA"), QStringLiteral("BROKEN"), QStringLiteral("OMEGA")});
    Click(*form2, "PushButton4");

    // Both good tables arrive with every row and every value.
    for (const char* name : {"ALPHA", "OMEGA"}) {
        const QString table = QString::fromLatin1(name);
        const QList<QStringList> rows = ServerQuery(
            QStringLiteral("SELECT count(*), sum(\"ID\"), min(\"NAME\") FROM \"%1\"").arg(table));
        ASSERT_EQ(rows.size(), 1) << table.toStdString();
        EXPECT_EQ(rows[0].value(0), QString::number(kGoodRows)) << table.toStdString();
        EXPECT_EQ(rows[0].value(1), QString::number(kGoodRows * (kGoodRows + 1) / 2));
        EXPECT_EQ(rows[0].value(2), QStringLiteral("Row 1 of %1.DB").arg(table));
    }
    // The broken one is reported by the command, and sends no row it did not read.
    const std::vector<Report> reports = Reports();
    EXPECT_FALSE(reports.empty()) << "the damaged table went through without a word";
    for (const Report& report : reports) {
        EXPECT_EQ(report.label, QStringLiteral("Form2.PushButton4_Click"));
        EXPECT_FALSE(report.description.trimmed().isEmpty());
    }
    const QList<QStringList> brokenTables = ServerQuery(
        QStringLiteral("SELECT table_name FROM user_tables WHERE table_name = 'BROKEN'"));
    if (!brokenTables.isEmpty()) {
        const QList<QStringList> count =
            ServerQuery(QStringLiteral("SELECT count(*) FROM \"BROKEN\""));
        EXPECT_LE(count[0].value(0).toInt(), kBrokenRows);
    }
    EXPECT_TRUE(PlainMessages().isEmpty());
    EXPECT_EQ(form2->MousePointerState().MousePointer(), vbDefault);
}

// The header's row count is only a note: the block chain decides. A count that disagrees with it
// is no reason to lose the table.
TEST_F(CorruptTableAmongGoodOnes, AHeaderRowCountThatDisagreesWithTheBlocksIsNoDamage) {
    QByteArray bytes = ReadAll(broken);
    PutU32(bytes, 0x06, 0x7FFFFFFF);
    WriteAll(broken, bytes);
    EnterLogin(tables.path(), TestServerSid());
    Form2* form2 = Next();
    ASSERT_NE(form2, nullptr);
    SelectEntries(form2->ParadoxList(), {QStringLiteral("BROKEN")});
    Click(*form2, "PushButton4");

    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join(u'\n').toStdString();
    EXPECT_EQ(ServerQuery(QStringLiteral("SELECT count(*) FROM \"BROKEN\"")),
              (QList<QStringList>{{QString::number(kBrokenRows)}}));
}

// The listing walks the subfolders, the send reads the folder itself: a table listed only from a
// subfolder cannot be read, so the Oracle table the user agreed to overwrite must stay whole.
class SubfolderTableInTheWindow : public ProgramTest {};

TEST_F(SubfolderTableInTheWindow, AnsweredYesItKeepsItsOracleTableAndRows) {
    DropAllTables();
    ServerExecute(QStringLiteral("CREATE TABLE \"ORDERS98\"(\"ID\" INT)"));
    ServerExecute(QStringLiteral("INSERT INTO \"ORDERS98\" VALUES(7)"));
    ASSERT_TRUE(QDir(tables.path()).mkpath(QStringLiteral("Archive")));
    WriteNumberedTable(QStringLiteral("ORDERS98.DB"), 5,
                       tables.filePath(QStringLiteral("Archive")));
    WriteNumberedTable(QStringLiteral("CURRENT.DB"), 3);
    EnterLogin(tables.path(), TestServerSid());
    Form2* form2 = Next();
    ASSERT_NE(form2, nullptr) << dialogs.Texts().join(u'\n').toStdString();
    SelectEntries(form2->ParadoxList(), {QStringLiteral("CURRENT"), QStringLiteral("ORDERS98")});
    dialogs.QueueAnswer(vbYes);  // overwrite ORDERS98?
    dialogs.QueueAnswer(vbOK);   // its report

    Click(*form2, "PushButton4");

    EXPECT_EQ(ServerQuery(QStringLiteral("SELECT \"ID\" FROM \"ORDERS98\"")),
              (QList<QStringList>{{"7"}}));
    EXPECT_EQ(ServerQuery(QStringLiteral("SELECT count(*) FROM \"CURRENT\"")),
              (QList<QStringList>{{"3"}}));
    const std::vector<Report> reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].line, 140);
    EXPECT_TRUE(reports[0].description.contains(QStringLiteral("subfolder \"Archive\"")));
    EXPECT_EQ(Entries(form2->OracleList()), (QStringList{"CURRENT", "ORDERS98"}));
}

INSTANTIATE_TEST_SUITE_P(
    Damages, CorruptTableAmongGoodOnes,
    ::testing::Values(Damage::EmptyFile, Damage::HeaderOnly, Damage::CutInsideABlock,
                      Damage::RandomBytes, Damage::BlockClaimsMoreRowsThanFit,
                      Damage::FieldCountFarTooHigh, Damage::BlockChainLoopsBack,
                      Damage::BlockChainLeavesTheFile, Damage::MissingMemoFile),
    DamageName);

}  // namespace
}  // namespace quorvex::test
