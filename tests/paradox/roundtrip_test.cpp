// Tables written by our writer read back value for value: every field type, the edge values,
// each version, code page, block size, and scrambled.

#include "writer_tables.h"

#include "data/paradox/error.h"
#include "data/paradox/table.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <tuple>

namespace quorvex::test {
namespace {

using paradox::FieldType;
using paradox::Value;

struct Variant {
    pxwriter::Version version;
    int codePage;
    std::uint8_t blockKib;
    std::uint32_t key;
};

std::string Describe(const Variant& v) {
    return "version " + std::to_string(static_cast<int>(v.version)) + ", code page " +
           std::to_string(v.codePage) + ", " + std::to_string(v.blockKib) + " KiB blocks" +
           (v.key != 0 ? ", scrambled" : "");
}

class RoundTrip : public testing::TestWithParam<Variant> {
  protected:
    QTemporaryDir folder_;
};

TEST_P(RoundTrip, EveryTypeAndEdgeValueReadsBackIdentically) {
    const Variant v = GetParam();
    SCOPED_TRACE(Describe(v));
    const pxwriter::TableDesign design = EveryTypeDesign(v.version, v.codePage, v.blockKib, v.key);
    const std::vector<Row> rows = EdgeRows(v.codePage);
    const std::string path = folder_.filePath("EDGES.DB").toStdString();
    pxwriter::WriteTable(path, design, rows);

    paradox::Table table = paradox::Table::Open(path);
    EXPECT_EQ(table.header().versionByte, static_cast<int>(v.version));
    EXPECT_EQ(table.header().codePage, v.codePage);
    EXPECT_EQ(table.header().scrambled(), v.key != 0);
    EXPECT_EQ(table.header().blockSize, v.blockKib * 1024u);
    EXPECT_EQ(table.rowCount(), rows.size());
    EXPECT_TRUE(table.warnings().empty());
    ASSERT_EQ(table.fields().size(), design.fields.size());
    for (std::size_t i = 0; i < design.fields.size(); ++i) {
        EXPECT_EQ(table.fields()[i].name, design.fields[i].name);
        EXPECT_EQ(table.fields()[i].type, design.fields[i].type);
    }
    Row row;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ASSERT_TRUE(table.next());
        table.readRow(row);
        const Row expected = AsRead(design, rows[r]);
        for (std::size_t i = 0; i < row.size(); ++i) {
            EXPECT_EQ(row[i], expected[i])
                << "row " << r + 1 << ", field " << design.fields[i].name;
        }
    }
    EXPECT_FALSE(table.next());
}

INSTANTIATE_TEST_SUITE_P(VersionsCodePagesBlocks, RoundTrip,
                         testing::Values(Variant{pxwriter::Version::V4, 437, 4, 0},
                                         Variant{pxwriter::Version::V5, 850, 2, 0},
                                         Variant{pxwriter::Version::V7, 1252, 2, 0},
                                         Variant{pxwriter::Version::V7, 1252, 32, 0},
                                         Variant{pxwriter::Version::V7, 850, 8, 0},
                                         Variant{pxwriter::Version::V5, 1252, 3, 0},
                                         Variant{pxwriter::Version::V4, 850, 4, 0x0A25E09A},
                                         Variant{pxwriter::Version::V7, 1252, 16, 0xFFFFFFFF}));

pxwriter::TableDesign NarrowDesign(std::uint8_t blockKib, std::uint32_t key = 0) {
    pxwriter::TableDesign design;
    design.version = pxwriter::Version::V5;
    design.codePage = 437;
    design.blockSizeKib = blockKib;
    design.scrambleKey = key;
    design.fields = {{"N", FieldType::Long}, {"Label", FieldType::Alpha, 10}};
    return design;
}

TEST(RoundTripChain, ManyBlocksComeBackInOrder) {
    for (const std::uint32_t key : {0u, 0x5EC0DE42u}) {
        SCOPED_TRACE(key);
        std::vector<Row> rows;
        for (int i = 0; i < 5000; ++i) {
            rows.push_back({Value::Integer(i - 2500), Value::Text("row " + std::to_string(i))});
        }
        const pxwriter::TableInMemory written =
            pxwriter::WriteTableToMemory(NarrowDesign(1, key), rows);
        paradox::Table table = paradox::Table::FromMemory("chain.db", written.table, written.blobs);
        const std::uint32_t perBlock = (1024 - 6) / 14;
        EXPECT_EQ(table.header().usedBlocks, (5000 + perBlock - 1) / perBlock);
        ASSERT_EQ(table.rowCount(), 5000u);
        for (int i = 0; i < 5000; ++i) {
            ASSERT_TRUE(table.next());
            ASSERT_EQ(table.value(0).integer(), i - 2500);
        }
        EXPECT_FALSE(table.next());
    }
}

TEST(RoundTripChain, AnEmptyTableHasFieldsAndNoRows) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("EMPTY.DB").toStdString();
    pxwriter::WriteTable(path, NarrowDesign(2), {});
    paradox::Table table = paradox::Table::Open(path);
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_EQ(table.header().firstBlock, 0);
    EXPECT_EQ(table.fields().size(), 2u);
    EXPECT_FALSE(table.next());
    EXPECT_THROW(table.value(0), paradox::Error) << "there is no current row";
}

TEST(RoundTripChain, ABlockFilledExactlyEndsTheChain) {
    const std::uint32_t perBlock = (2048 - 6) / 14;
    for (const std::uint32_t count : {perBlock - 1, perBlock, perBlock + 1, 2 * perBlock}) {
        std::vector<Row> rows(count, Row{Value::Integer(7), Value()});
        const pxwriter::TableInMemory written = pxwriter::WriteTableToMemory(NarrowDesign(2), rows);
        paradox::Table table = paradox::Table::FromMemory("exact.db", written.table, written.blobs);
        EXPECT_EQ(table.rowCount(), count);
        std::uint32_t seen = 0;
        while (table.next()) {
            ++seen;
        }
        EXPECT_EQ(seen, count);
    }
}

TEST(Writer, RefusesValuesItCannotStoreExactly) {
    pxwriter::TableDesign design = NarrowDesign(2);
    std::vector<std::uint8_t> table;
    std::vector<std::uint8_t> blobs;
    pxwriter::TableWriter writer(table, blobs, design);
    EXPECT_THROW(writer.addRow({Value::Integer(1), Value::Text("eleven char")}),
                 std::invalid_argument);
    EXPECT_THROW(writer.addRow({Value::Text("1"), Value()}), std::invalid_argument);
    EXPECT_THROW(writer.addRow({Value::Integer(1)}), std::invalid_argument);
    EXPECT_THROW(writer.addRow({Value::Integer(-2147483647 - 1), Value()}), std::invalid_argument)
        << "the most negative long would be stored as NULL";
    EXPECT_THROW(writer.addRow({Value::Integer(1), Value::Text("€")}), std::invalid_argument)
        << "not in code page 437";
    pxwriter::TableDesign bigBlocks = NarrowDesign(8);
    EXPECT_THROW(pxwriter::TableWriter(table, blobs, bigBlocks), std::invalid_argument)
        << "8 KiB blocks exist only in version 7";
}

}  // namespace
}  // namespace quorvex::test
