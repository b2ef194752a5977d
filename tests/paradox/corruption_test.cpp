// Damaged copies of real and written tables: every one gives a clear error that names the file,
// or, where the damage does not touch the rows, the complete and correct rows. Never a crash,
// a hang or a partial table passed off as whole.

#include "corpus.h"
#include "damage.h"

#include "data/paradox/error.h"
#include "data/paradox/table.h"
#include "data/paradox/table_indexes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>

namespace quorvex::test {
namespace {

using paradox::FieldType;
using paradox::Value;

bool Mentions(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Cutting a file anywhere may only ever give an error or the very same rows.
void ExpectTruncationsAreSafe(const std::string& name, const FileBytes& table,
                              const std::optional<FileBytes>& blobs, std::size_t step) {
    const ReadOutcome whole = ReadFromMemory(name, table, blobs);
    ASSERT_FALSE(whole.failed) << whole.error;
    std::vector<std::size_t> cuts = {0, 1, 2, 0x20, 0x57, 0x58, 0x59, 0x77, 0x78, 0x100};
    for (std::size_t cut = 0x100; cut < table.size(); cut += step) {
        cuts.push_back(cut);
    }
    for (const std::size_t cut : cuts) {
        if (cut >= table.size()) {
            continue;
        }
        const FileBytes cutTable(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(cut));
        const ReadOutcome outcome = ReadFromMemory(name, cutTable, blobs);
        if (outcome.failed) {
            EXPECT_TRUE(Mentions(outcome.error, name)) << outcome.error;
        } else {
            EXPECT_EQ(outcome.rows, whole.rows) << name << " cut at " << cut;
        }
    }
    if (blobs) {
        // Memo files hold few, large values: cuts spread evenly over the file reach each of them.
        const std::size_t blobStep = std::max<std::size_t>(blobs->size() / 48, 1) + 1;
        for (std::size_t cut = 0; cut < blobs->size(); cut += blobStep) {
            const FileBytes cutBlobs(blobs->begin(),
                                     blobs->begin() + static_cast<std::ptrdiff_t>(cut));
            const ReadOutcome outcome = ReadFromMemory(name, table, cutBlobs);
            if (!outcome.failed) {
                EXPECT_EQ(outcome.rows, whole.rows) << name << " memo file cut at " << cut;
            }
        }
    }
}

TEST(Truncation, RealTablesCutAnywhereGiveAnErrorOrAllTheirRows) {
    QUORVEX_REQUIRE_CORPUS();
    const struct {
        const char* table;
        const char* blobs;
    } files[] = {
        {"db/CUSTOMER.DB", "db/CUSTOMER.MB"},
        {"db/AREACODES.DB", nullptr},
        {"db/ORDERS.DB", nullptr},
        {"fields/bcd.db", nullptr},
        {"encrypt/encrypted.db", nullptr},
        {"fields/memo.db", "fields/memo.mb"},
        {"fields/graphic240.db", "fields/graphic240.mb"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.table);
        std::optional<FileBytes> blobs;
        if (file.blobs != nullptr) {
            blobs = ReadBytes(CorpusFile(file.blobs));
        }
        ExpectTruncationsAreSafe(file.table, ReadBytes(CorpusFile(file.table)), blobs, 61);
    }
}

TEST(Truncation, WrittenTablesOfEveryKindCutAnywhereGiveAnErrorOrAllTheirRows) {
    for (const std::uint32_t key : {0u, 0x0A25E09Au}) {
        const pxwriter::TableDesign design = EveryTypeDesign(pxwriter::Version::V7, 1252, 4, key);
        const pxwriter::TableInMemory written =
            pxwriter::WriteTableToMemory(design, EdgeRows(1252));
        ExpectTruncationsAreSafe("edges.db", written.table, written.blobs, 37);
    }
}

TEST(Truncation, ACutRecordIsAnErrorNamingTheBlock) {
    pxwriter::TableDesign design;
    design.codePage = 437;
    design.fields = {{"N", FieldType::Long}};
    std::vector<Row> rows;
    for (int i = 1; i <= 10; ++i) {
        rows.push_back({Value::Integer(i)});
    }
    const FileBytes table = pxwriter::WriteTableToMemory(design, rows).table;
    const std::size_t recordsEnd = 2048 + 6 + 10 * 4;
    // The free space after the last record may go: all ten rows are still there.
    const ReadOutcome freeSpaceCut = ReadFromMemory(
        "cut.db",
        FileBytes(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(recordsEnd)));
    EXPECT_FALSE(freeSpaceCut.failed) << freeSpaceCut.error;
    EXPECT_EQ(freeSpaceCut.rows.size(), 10u);
    const ReadOutcome recordCut = ReadFromMemory(
        "cut.db",
        FileBytes(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(recordsEnd - 1)));
    ASSERT_TRUE(recordCut.failed);
    EXPECT_TRUE(Mentions(recordCut.error, "block 1 is cut short")) << recordCut.error;
}

// A written table of `blocks` full 1 KiB blocks of 4-byte records.
FileBytes MultiBlockTable(int blocks) {
    pxwriter::TableDesign design;
    design.codePage = 437;
    design.blockSizeKib = 1;
    design.fields = {{"N", FieldType::Long}};
    std::vector<Row> rows;
    for (int i = 0; i < blocks * 254; ++i) {
        rows.push_back({Value::Integer(i + 1)});
    }
    return pxwriter::WriteTableToMemory(design, rows).table;
}

std::size_t BlockAt(int number) { return 2048 + static_cast<std::size_t>(number - 1) * 1024; }

TEST(DamagedChain, ALoopIsFoundInsteadOfReadForever) {
    FileBytes table = MultiBlockTable(3);
    PutU16(table, BlockAt(3), 2);  // block 3 leads back to block 2
    const ReadOutcome outcome = ReadFromMemory("loop.db", table);
    ASSERT_TRUE(outcome.failed);
    EXPECT_TRUE(Mentions(outcome.error, "loops back to block 2")) << outcome.error;
    PutU16(table, BlockAt(1), 1);  // a block that leads to itself
    EXPECT_TRUE(Mentions(ReadFromMemory("loop.db", table).error, "loops back to block 1"));
}

TEST(DamagedChain, BlockNumbersOutsideTheFileAreRefused) {
    FileBytes table = MultiBlockTable(3);
    PutU16(table, BlockAt(2), 4);
    EXPECT_TRUE(Mentions(ReadFromMemory("far.db", table).error,
                         "leads to block 4, but the header counts only 3 blocks"));
    // The header itself may claim more blocks than the file holds.
    FileBytes claims = MultiBlockTable(3);
    PutU16(claims, 0x0C, 60000);
    PutU16(claims, BlockAt(3), 50000);
    EXPECT_TRUE(Mentions(ReadFromMemory("far.db", claims).error,
                         "block 50000 of the record chain lies past the end of the file"));
    FileBytes first = MultiBlockTable(1);
    PutU16(first, 0x0E, 9);
    EXPECT_TRUE(Mentions(ReadFromMemory("far.db", first).error, "leads to block 9"));
}

TEST(DamagedChain, RecordCountsThatCannotBeAreRefused) {
    FileBytes odd = MultiBlockTable(2);
    PutU16(odd, BlockAt(1) + 4, 4 * 10 + 1);
    EXPECT_TRUE(
        Mentions(ReadFromMemory("odd.db", odd).error, "is not a multiple of the record size"));
    FileBytes many = MultiBlockTable(2);
    PutU16(many, BlockAt(2) + 4, 4 * 300);
    EXPECT_TRUE(
        Mentions(ReadFromMemory("many.db", many).error, "claims 301 records, but only 254 fit"));
}

TEST(DamagedChain, AnEmptiedBlockInTheChainIsSkipped) {
    FileBytes table = MultiBlockTable(3);
    PutU16(table, BlockAt(2) + 4, static_cast<std::uint16_t>(-4));
    const ReadOutcome outcome = ReadFromMemory("gap.db", table);
    ASSERT_FALSE(outcome.failed) << outcome.error;
    ASSERT_EQ(outcome.rows.size(), 2u * 254);
    EXPECT_EQ(outcome.rows[254][0], Value::Integer(2 * 254 + 1));
}

TEST(DamagedChain, AStaleRecordCountGivesAWarningAndTheChainsRows) {
    FileBytes table = MultiBlockTable(2);
    PutU32(table, 0x06, 7);
    paradox::Table opened = paradox::Table::FromMemory("stale.db", table, std::nullopt);
    EXPECT_EQ(opened.rowCount(), 2u * 254);
    ASSERT_EQ(opened.warnings().size(), 1u);
    EXPECT_TRUE(Mentions(opened.warnings()[0], "the header counts 7 records"));
}

TEST(DamagedHeader, EachFaultIsNamedInPlainWords) {
    const FileBytes good = MultiBlockTable(1);
    const auto fault = [](FileBytes bytes) { return ReadFromMemory("bad.db", bytes).error; };
    EXPECT_TRUE(Mentions(fault({}), "the file is empty"));
    EXPECT_TRUE(Mentions(fault(FileBytes(good.begin(), good.begin() + 0x40)), "too short"));
    EXPECT_TRUE(
        Mentions(fault(FileBytes(good.begin(), good.begin() + 0x400)), "ends inside its header"));
    FileBytes bytes = good;
    bytes[0x04] = 1;
    EXPECT_TRUE(Mentions(fault(bytes), "primary index file"));
    bytes = good;
    bytes[0x04] = 9;
    EXPECT_TRUE(Mentions(fault(bytes), "file type byte 0x09"));
    bytes = good;
    bytes[0x39] = 0x20;
    EXPECT_TRUE(Mentions(fault(bytes), "version byte 0x20"));
    bytes = good;
    bytes[0x05] = 5;
    EXPECT_TRUE(Mentions(fault(bytes), "block size of 5 KiB"));
    bytes = good;
    PutU16(bytes, 0x00, 5);
    EXPECT_TRUE(Mentions(fault(bytes), "record size of 5 bytes does not match its fields"));
    bytes = good;
    PutU16(bytes, 0x00, 0);
    EXPECT_TRUE(Mentions(fault(bytes), "record size is 0"));
    bytes = good;
    bytes[0x78] = 0x07;
    EXPECT_TRUE(Mentions(fault(bytes), "unknown type code 0x07"));
    bytes = good;
    bytes[0x79] = 3;
    EXPECT_TRUE(Mentions(fault(bytes), "impossible size 3"));
    bytes = good;
    PutU16(bytes, 0x21, 0);
    EXPECT_TRUE(Mentions(fault(bytes), "no fields"));
    bytes = good;
    PutU16(bytes, 0x21, 900);
    EXPECT_TRUE(Mentions(fault(bytes), "do not fit in the header"));
    bytes = good;
    PutU16(bytes, 0x02, 0x40);
    EXPECT_TRUE(Mentions(fault(bytes), "header size of 64 bytes is too small"));
    bytes = good;
    std::fill(bytes.begin() + 0x78 + 2 + 4 + 4 + 261, bytes.begin() + 2048, std::uint8_t{'x'});
    EXPECT_TRUE(Mentions(fault(bytes), "field names run past the end of the header"));
}

TEST(DamagedHeader, FlippingAnyHeaderOrBlockByteNeverCrashes) {
    QUORVEX_REQUIRE_CORPUS();
    for (const char* name :
         {"db/CUSTOMER.DB", "fields/graphic240.db", "encrypt/encrypted.db", "fields/bcd.db"}) {
        SCOPED_TRACE(name);
        const FileBytes good = ReadBytes(CorpusFile(name));
        std::optional<FileBytes> blobs;
        const std::string blobName = std::string(name).substr(0, std::string(name).size() - 2) +
                                     (name[0] == 'd' ? "MB" : "mb");
        if (std::filesystem::exists(CorpusFile(blobName.c_str()))) {
            blobs = ReadBytes(CorpusFile(blobName.c_str()));
        }
        // Every header byte with two masks; the blocks sampled with one.
        std::vector<std::pair<std::size_t, std::uint8_t>> flips;
        for (std::size_t i = 0; i < 0x200; ++i) {
            flips.emplace_back(i, 0xFF);
            flips.emplace_back(i, 0x01);
        }
        for (std::size_t i = 2048; i < good.size(); i += 11) {
            flips.emplace_back(i, 0x80);
        }
        for (const auto& [at, mask] : flips) {
            FileBytes bytes = good;
            bytes[at] ^= mask;
            const ReadOutcome outcome = ReadFromMemory(name, bytes, blobs);
            if (outcome.failed) {
                EXPECT_TRUE(Mentions(outcome.error, name) || Mentions(outcome.error, "memo file"))
                    << outcome.error;
            }
        }
    }
}

TEST(IndexFiles, EveryCorpusIndexIsRefusedAsATable) {
    QUORVEX_REQUIRE_CORPUS();
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(CorpusDir().toStdString())) {
        const std::string extension = entry.path().extension().string();
        if (extension.size() < 3) {
            continue;
        }
        const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(extension[1])));
        if (kind != 'P' && kind != 'X' && kind != 'Y') {
            continue;
        }
        SCOPED_TRACE(entry.path().string());
        const ReadOutcome outcome = ReadFromFile(entry.path().string());
        ASSERT_TRUE(outcome.failed);
        EXPECT_TRUE(Mentions(outcome.error, "index file")) << outcome.error;
    }
}

TEST(IndexFiles, KeysAndSecondaryIndexesAreReadFromTheFilesBesideATable) {
    QUORVEX_REQUIRE_CORPUS();
    for (const CorpusTable& corpus : CorpusTables()) {
        const std::string path = corpus.table.toStdString();
        const auto table = paradox::Table::Open(path);
        const auto indexes = paradox::ReadTableIndexes(path, table);
        EXPECT_TRUE(indexes.damaged.empty()) << corpus.label << ": " << indexes.damaged[0].what();
        EXPECT_EQ(indexes.primaryIndexFile.empty(), table.header().keyFieldCount == 0)
            << corpus.label;
    }
    const auto customer = paradox::Table::Open(CorpusFile("db/CUSTOMER.DB"));
    const auto byCity = paradox::ReadTableIndexes(CorpusFile("db/CUSTOMER.DB"), customer);
    ASSERT_EQ(byCity.secondary.size(), 1u);
    EXPECT_EQ(byCity.secondary[0].fields, std::vector<std::size_t>{5});  // City, not CustNo
    EXPECT_EQ(byCity.secondary[0].name, "City");
    EXPECT_FALSE(byCity.secondary[0].composite);
    EXPECT_TRUE(Mentions(byCity.secondary[0].companionFile, "CUSTOMER.Y06"));
    const auto areas = paradox::Table::Open(CorpusFile("db/AREACODES.DB"));
    const auto byState = paradox::ReadTableIndexes(CorpusFile("db/AREACODES.DB"), areas);
    ASSERT_EQ(byState.secondary.size(), 1u);
    EXPECT_EQ(byState.secondary[0].fields, std::vector<std::size_t>{1});
    EXPECT_EQ(byState.secondary[0].name, "ste");
    EXPECT_TRUE(byState.secondary[0].composite);
}

TEST(IndexFiles, DamagedIndexFilesAreReportedAndNeverStopTheOthers) {
    QUORVEX_REQUIRE_CORPUS();
    const auto table = paradox::Table::Open(CorpusFile("db/CUSTOMER.DB"));
    const FileBytes index = ReadBytes(CorpusFile("db/CUSTOMER.X06"));
    for (std::size_t at = 0; at < 0x1C0; ++at) {
        for (const bool cut : {true, false}) {
            FileBytes damaged(index.begin(), index.begin() + static_cast<std::ptrdiff_t>(at));
            if (!cut) {
                damaged = index;
                damaged[at] ^= 0x5A;
            }
            try {
                paradox::ReadSecondaryIndex(damaged, "X06", table);
                paradox::CheckPrimaryIndex(damaged, "X06", table);
            } catch (const paradox::Error& error) {
                EXPECT_TRUE(Mentions(error.what(), "X06")) << error.what();
            }
        }
    }
    // In a folder of lower-case names: a renamed field, a cut tree file, a tree without its index.
    QTemporaryDir folder;
    const auto copy = [&](const char* from, const char* to) {
        std::filesystem::copy_file(CorpusFile(from), folder.filePath(to).toStdString());
    };
    copy("db/CUSTOMER.DB", "customer.db");
    copy("db/CUSTOMER.PX", "customer.px");
    FileBytes renamed = index;
    renamed[0x193] = 'K';  // "City" becomes "Kity"
    WriteBytes(folder.filePath("customer.x06").toStdString(), renamed);
    const FileBytes tree = ReadBytes(CorpusFile("db/CUSTOMER.Y06"));
    WriteBytes(folder.filePath("customer.y01").toStdString(),
               FileBytes(tree.begin(), tree.begin() + 0x50));
    copy("db/CUSTOMER.Y06", "customer.y06");
    const std::string path = folder.filePath("customer.db").toStdString();
    const auto indexes = paradox::ReadTableIndexes(path, paradox::Table::Open(path));
    EXPECT_TRUE(Mentions(indexes.primaryIndexFile, "customer.px"));
    EXPECT_TRUE(indexes.secondary.empty());
    ASSERT_EQ(indexes.damaged.size(), 2u);
    EXPECT_TRUE(Mentions(indexes.damaged[0].what(), "\"Kity\" the table does not have"))
        << indexes.damaged[0].what();
    EXPECT_TRUE(Mentions(indexes.damaged[1].what(), "customer.y01")) << indexes.damaged[1].what();
}

// Memo values whose .MB is missing or damaged: the values kept in the record still read; the
// others fail with the reason.
class MemoFile : public testing::Test {
  protected:
    void SetUp() override {
        QUORVEX_REQUIRE_CORPUS();
        table_ = ReadBytes(CorpusFile("db/CUSTOMER.DB"));
        blobs_ = ReadBytes(CorpusFile("db/CUSTOMER.MB"));
    }

    // Row 2's memo lives in a sub-allocated block (pointer 0x103F), row 4's in a block of its own
    // (0x20FF). The memo field is the 9th: its pointer sits at offset 4+51+50+100+30+15+20+10+100.
    static constexpr std::size_t kPointerInRecord = 4 + 51 + 50 + 100 + 30 + 15 + 20 + 10 + 100;
    std::size_t PointerOfRow(int row) const {
        return 2048 + 6 + static_cast<std::size_t>(row - 1) * 394 + kPointerInRecord;
    }

    FileBytes table_;
    FileBytes blobs_;
};

TEST_F(MemoFile, AMissingMemoFileFailsOnlyTheValuesKeptInIt) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("CUSTOMER.DB").toStdString();
    WriteBytes(path, table_);
    paradox::Table table = paradox::Table::Open(path);
    ASSERT_TRUE(table.next());
    EXPECT_EQ(table.value(8).text(), "Small comment (less 100 symbols)");
    ASSERT_TRUE(table.next());
    try {
        table.value(8);
        FAIL() << "the memo of row 2 lives in the missing .MB";
    } catch (const paradox::Error& error) {
        EXPECT_TRUE(Mentions(error.what(), path));
        EXPECT_TRUE(Mentions(error.what(), "row 2, field \"Comments\""));
        EXPECT_TRUE(Mentions(error.what(), "memo file is missing"));
    }
    EXPECT_EQ(table.value(1).text(), "Frank") << "other fields of the row still read";
}

TEST_F(MemoFile, PointersOutsideTheFileOrAtNoValueAreRefused) {
    const auto memoError = [&](FileBytes blobs, std::uint32_t pointer, int row) {
        FileBytes table = table_;
        PutU32(table, PointerOfRow(row), pointer);
        paradox::Table opened = paradox::Table::FromMemory("CUSTOMER.DB", table, blobs);
        for (int i = 0; i < row; ++i) {
            opened.next();
        }
        try {
            opened.value(8);
        } catch (const paradox::Error& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_TRUE(Mentions(memoError(blobs_, 0x7FFFF0FF, 4), "lies past the end of the file"));
    EXPECT_TRUE(Mentions(memoError(blobs_, 0x000000FF, 4), "does not point at a value block"));
    EXPECT_TRUE(Mentions(memoError(blobs_, 0x00001234, 4), "does not point at a value block"));
    EXPECT_TRUE(Mentions(memoError(blobs_, 0x00002000, 4),
                         "names slot 0 of a block that holds a single value"));
    EXPECT_TRUE(
        Mentions(memoError(blobs_, 0x000010FF, 2), "names slot 255 of a block that has 64"));
    EXPECT_TRUE(Mentions(memoError(blobs_, 0x00001000, 2), "unused slot"));
    // The single-value block at 0x2000 holds 56864 bytes, not what row 2 says.
    EXPECT_TRUE(
        Mentions(memoError(blobs_, 0x000020FF, 2), "is 56864 bytes long, but the record says 518"));
    // A block marked free.
    FileBytes freed = blobs_;
    freed[0x2000] = 4;
    EXPECT_TRUE(Mentions(memoError(freed, 0x000020FF, 4), "block of type 4, which holds no value"));
    // A value whose declared length runs past the end of its block or the file.
    FileBytes shortBlock = blobs_;
    shortBlock[0x2001] = 1;
    EXPECT_TRUE(Mentions(memoError(shortBlock, 0x000020FF, 4), "does not fit in its block"));
    FileBytes cut(blobs_.begin(), blobs_.begin() + 0x2100);
    EXPECT_TRUE(Mentions(memoError(cut, 0x000020FF, 4), "runs past the end of the file"));
}

TEST_F(MemoFile, AStaleSlotIsRefused) {
    FileBytes blobs = blobs_;
    blobs[0x1000 + 0x0C + 5 * 0x3F + 4] = 7;  // row 2's slot now claims another last paragraph
    paradox::Table table = paradox::Table::FromMemory("CUSTOMER.DB", table_, blobs);
    table.next();
    table.next();
    EXPECT_THROW(table.value(8), paradox::Error);
}

TEST(DamagedValues, DatesAndTimesOutsideTheirRangeAreErrorsNamingRowAndField) {
    pxwriter::TableDesign design;
    design.codePage = 437;
    design.fields = {
        {"When", FieldType::Date}, {"At", FieldType::Time}, {"Stamp", FieldType::Timestamp}};
    FileBytes table = pxwriter::WriteTableToMemory(
                          design, {{Value::Date({1}), Value::Time({0}), Value::Stamp({86400000})}})
                          .table;
    const std::size_t record = 2048 + 6;
    FileBytes badDate = table;
    badDate[record] = 0x7F;  // a negative day
    paradox::Table dates = paradox::Table::FromMemory("dates.db", badDate, std::nullopt);
    ASSERT_TRUE(dates.next());
    try {
        dates.value(0);
        FAIL();
    } catch (const paradox::Error& error) {
        EXPECT_TRUE(Mentions(error.what(), "row 1, field \"When\": the date"));
    }
    EXPECT_EQ(dates.value(1), Value::Time({0}));
    FileBytes badTime = table;
    badTime[record + 4] = 0x90;
    paradox::Table times = paradox::Table::FromMemory("times.db", badTime, std::nullopt);
    ASSERT_TRUE(times.next());
    EXPECT_THROW(times.value(1), paradox::Error);
    FileBytes badStamp = table;
    badStamp[record + 8] = 0x7F;  // a negative timestamp
    paradox::Table stamps = paradox::Table::FromMemory("stamps.db", badStamp, std::nullopt);
    ASSERT_TRUE(stamps.next());
    EXPECT_THROW(stamps.value(2), paradox::Error);
}

TEST(ChangedFile, ATableCutShortWhileItIsReadGivesAnError) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("SHRINKS.DB").toStdString();
    WriteBytes(path, MultiBlockTable(3));
    paradox::Table table = paradox::Table::Open(path);
    ASSERT_TRUE(table.next());
    std::filesystem::resize_file(path, 2048 + 1024 + 100);
    ReadOutcome outcome;
    try {
        while (table.next()) {
        }
        FAIL() << "the rest of the rows are gone";
    } catch (const paradox::Error& error) {
        EXPECT_TRUE(Mentions(error.what(), path));
    }
}

}  // namespace
}  // namespace quorvex::test
