// Paradox 3.0 and 3.5 tables, assembled byte by byte as those versions lay them out: a header
// only as long as its field names (so blocks start at an unaligned offset), no code page (text
// in DOS 437), and the scrambling key at offset 0x25.

#include "damage.h"

#include "data/paradox/calendar.h"
#include "data/paradox/field_codec.h"
#include "data/paradox/scramble.h"
#include "data/paradox/table.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvex::test {
namespace {

using paradox::Value;

struct OldTable {  // what to assemble
    std::uint8_t version = 3;
    std::uint32_t key = 0;
    int rows = 3;
    std::uint8_t blockKib = 1;
};

// Fields: Name A10, Qty S, Price N, When D, Cost $ (record of 32 bytes).
FileBytes BuildOldTable(const OldTable& wanted) {
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> descriptors = {
        {0x01, 10}, {0x03, 2}, {0x06, 8}, {0x02, 4}, {0x05, 8}};
    const char* names[] = {"Name", "Qty", "Price", "When", "Cost"};
    const std::uint16_t recordSize = 32;
    FileBytes header(0x58, 0);
    for (const auto& [type, size] : descriptors) {
        header.push_back(type);
        header.push_back(size);
    }
    header.resize(header.size() + 4 + 4 * descriptors.size(), 0);
    FileBytes slot(79, 0);
    std::memcpy(slot.data(), "OLDTABLE.DB", 11);
    header.insert(header.end(), slot.begin(), slot.end());
    for (const char* name : names) {
        header.insert(header.end(), name, name + std::strlen(name) + 1);
    }
    const auto headerSize = static_cast<std::uint16_t>(header.size());
    const std::uint32_t blockSize = wanted.blockKib * 1024u;
    const int perBlock = static_cast<int>((blockSize - 6) / recordSize);
    const int blocks = wanted.rows == 0 ? 0 : (wanted.rows + perBlock - 1) / perBlock;
    PutU16(header, 0x00, recordSize);
    PutU16(header, 0x02, headerSize);
    header[0x04] = 2;
    header[0x05] = wanted.blockKib;
    PutU32(header, 0x06, static_cast<std::uint32_t>(wanted.rows));
    PutU16(header, 0x0A, static_cast<std::uint16_t>(blocks));
    PutU16(header, 0x0C, static_cast<std::uint16_t>(blocks));
    PutU16(header, 0x0E, blocks == 0 ? 0 : 1);
    PutU16(header, 0x10, static_cast<std::uint16_t>(blocks));
    PutU16(header, 0x21, static_cast<std::uint16_t>(descriptors.size()));
    PutU32(header, 0x25, wanted.key);
    header[0x39] = wanted.version;

    FileBytes file = header;
    int row = 0;
    for (int b = 1; b <= blocks; ++b) {
        FileBytes block(blockSize, 0);
        const int inBlock = std::min(perBlock, wanted.rows - row);
        PutU16(block, 0, b == blocks ? 0 : static_cast<std::uint16_t>(b + 1));
        PutU16(block, 2, static_cast<std::uint16_t>(b - 1));
        PutU16(block, 4, static_cast<std::uint16_t>((inBlock - 1) * recordSize));
        for (int r = 0; r < inBlock; ++r, ++row) {
            std::uint8_t* p = block.data() + 6 + r * recordSize;
            const std::string name = "Item \x82" + std::to_string(row);  // 0x82 is "é" in 437
            std::memcpy(p, name.data(), std::min<std::size_t>(name.size(), 10));
            paradox::EncodeSignFlippedInteger(row - 1, p + 10, 2);
            paradox::EncodeSignFlippedDouble(row * 1.5, p + 12);
            paradox::EncodeSignFlippedInteger(paradox::DayNumberFromCivil(1991, 1, 1 + row % 28),
                                              p + 20, 4);
            paradox::EncodeSignFlippedDouble(-row / 4.0, p + 24);
        }
        if (wanted.key != 0) {
            paradox::ScrambleTableBlock(block, paradox::ScrambleKeyFrom(wanted.key),
                                        static_cast<std::uint32_t>(b));
        }
        file.insert(file.end(), block.begin(), block.end());
    }
    return file;
}

void ExpectRows(paradox::Table& cursor, int rows) {
    for (int row = 0; row < rows; ++row) {
        ASSERT_TRUE(cursor.next()) << row;
        EXPECT_EQ(cursor.value(0), Value::Text("Item é" + std::to_string(row)));
        EXPECT_EQ(cursor.value(1), Value::Integer(row - 1));
        EXPECT_EQ(cursor.value(2), row == 0 ? Value::Number(0.0) : Value::Number(row * 1.5));
        EXPECT_EQ(cursor.value(3),
                  Value::Date({paradox::DayNumberFromCivil(1991, 1, 1 + row % 28)}));
        EXPECT_EQ(cursor.value(4), Value::Number(-row / 4.0));
    }
    EXPECT_FALSE(cursor.next());
}

TEST(OldVersions, Paradox30HeaderEndsAfterTheNamesAndBlocksFollowUnaligned) {
    const FileBytes file = BuildOldTable({3, 0, 100, 1});
    paradox::Table table = paradox::Table::FromMemory("OLDTABLE.DB", file, std::nullopt);
    EXPECT_EQ(table.header().versionName(), "3.0");
    EXPECT_LT(table.header().headerSize, 1024) << "as long as the names, not 2048 bytes";
    EXPECT_FALSE(table.header().codePage.has_value());
    EXPECT_EQ(table.header().sortOrder, "");
    EXPECT_EQ(table.codePage().number, 437);
    EXPECT_EQ(table.storedName(), "OLDTABLE.DB");
    ASSERT_EQ(table.fields().size(), 5u);
    EXPECT_EQ(table.fields()[4].name, "Cost");
    EXPECT_EQ(table.rowCount(), 100u);
    ExpectRows(table, 100);
}

TEST(OldVersions, ScrambledParadox35TablesKeepTheKeyAt0x25) {
    const FileBytes file = BuildOldTable({4, 0x0A25E09A, 70, 2});
    paradox::Table table = paradox::Table::FromMemory("SECRET.DB", file, std::nullopt);
    EXPECT_EQ(table.header().versionName(), "3.5");
    EXPECT_TRUE(table.header().scrambled());
    EXPECT_EQ(table.rowCount(), 70u);
    ExpectRows(table, 70);
}

TEST(OldVersions, AnEmptyOldTableIsJustItsHeader) {
    const FileBytes file = BuildOldTable({3, 0, 0, 1});
    paradox::Table table = paradox::Table::FromMemory("EMPTY.DB", file, std::nullopt);
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_FALSE(table.next());
}

TEST(OldVersions, CutsOfAnOldTableGiveAnErrorOrAllRows) {
    const FileBytes file = BuildOldTable({3, 0, 40, 1});
    const ReadOutcome whole = ReadFromMemory("OLD.DB", file);
    ASSERT_FALSE(whole.failed);
    for (std::size_t cut = 0; cut < file.size(); cut += 5) {
        const ReadOutcome outcome = ReadFromMemory(
            "OLD.DB", FileBytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut)));
        if (!outcome.failed) {
            EXPECT_EQ(outcome.rows, whole.rows) << cut;
        }
    }
}

}  // namespace
}  // namespace quorvex::test
