// Every table of the corpus (tests/corpus), read by the reader and compared field by field and
// value by value with its expected contents. The comparison is done here with Qt's own JSON, date
// and hash code, independently of pxdump's formatting.

#include "corpus.h"

#include "data/paradox/calendar.h"
#include "data/paradox/table.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDate>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTime>

#include <bit>
#include <cstdlib>

namespace quorvex::test {
namespace {

using paradox::FieldType;
using paradox::Value;

QDate DateOf(std::int32_t day) { return QDate::fromJulianDay(1721425 + day); }

QByteArray AsQBytes(const paradox::ByteVector& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

void ExpectBytes(const QByteArray& actual, const QJsonObject& expected, const std::string& where) {
    EXPECT_EQ(actual.size(), expected.value("len").toInteger()) << where;
    if (expected.contains("hex")) {
        EXPECT_EQ(actual.toHex(), expected.value("hex").toString().toLatin1()) << where;
        return;
    }
    EXPECT_EQ(QCryptographicHash::hash(actual, QCryptographicHash::Sha256).toHex(),
              expected.value("sha256").toString().toLatin1())
        << where;
    EXPECT_EQ(actual.left(32).toHex(), expected.value("head_hex").toString().toLatin1()) << where;
}

void ExpectValue(const paradox::Table& table, const paradox::Field& field, const Value& value,
                 const QJsonValue& expected, const std::string& where) {
    if (expected.isNull()) {
        EXPECT_TRUE(value.isNull()) << where;
        return;
    }
    ASSERT_FALSE(value.isNull()) << where;
    const QString text = expected.toString();
    switch (field.type) {
        case FieldType::Alpha:
        case FieldType::Memo:
            EXPECT_EQ(value.text(), text.toStdString()) << where;
            return;
        case FieldType::FormattedMemo:
            EXPECT_EQ(table.decodeText(value.bytes()), text.toStdString()) << where;
            return;
        case FieldType::Short:
        case FieldType::Long:
        case FieldType::AutoIncrement:
            EXPECT_EQ(value.integer(), expected.toInteger()) << where;
            return;
        case FieldType::Money:
        case FieldType::Number: {
            // The stored double exactly: the shortest text reads back as the same bits.
            const double wanted = std::strtod(text.toLatin1().constData(), nullptr);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(value.number()),
                      std::bit_cast<std::uint64_t>(wanted))
                << where << " got " << value.number();
            return;
        }
        case FieldType::Bcd:
            EXPECT_EQ(value.decimal().digits, text.toStdString()) << where;
            return;
        case FieldType::Logical:
            EXPECT_EQ(value.logical(), expected.toBool()) << where;
            return;
        case FieldType::Date:
            EXPECT_EQ(DateOf(value.date().day), QDate::fromString(text, Qt::ISODate)) << where;
            return;
        case FieldType::Time:
            EXPECT_EQ(value.time().milliseconds,
                      QTime::fromString(text, "HH:mm:ss.zzz").msecsSinceStartOfDay())
                << where;
            return;
        case FieldType::Timestamp: {
            const std::int64_t ms = value.timestamp().milliseconds;
            const auto day = static_cast<std::int32_t>(ms / paradox::kMillisecondsPerDay);
            const auto time = static_cast<int>(ms % paradox::kMillisecondsPerDay);
            EXPECT_EQ(DateOf(day), QDate::fromString(text.left(10), Qt::ISODate)) << where;
            EXPECT_EQ(time, QTime::fromString(text.mid(11), "HH:mm:ss.zzz").msecsSinceStartOfDay())
                << where;
            return;
        }
        case FieldType::Bytes:
        case FieldType::Blob:
        case FieldType::Ole:
        case FieldType::Graphic:
            ExpectBytes(AsQBytes(value.bytes()), expected.toObject(), where);
            return;
    }
    ADD_FAILURE() << where << ": unexpected field type";
}

void ExpectHeader(const paradox::Table& table, const QJsonObject& expected,
                  const std::string& where) {
    const paradox::TableHeader& h = table.header();
    EXPECT_EQ(h.versionByte, expected.value("version_byte").toInt()) << where;
    EXPECT_EQ(h.versionName(), expected.value("version").toString().toStdString()) << where;
    EXPECT_EQ(h.fileType, expected.value("file_type").toInt()) << where;
    EXPECT_EQ(h.recordSize, expected.value("record_size").toInt()) << where;
    EXPECT_EQ(h.headerSize, expected.value("header_size").toInt()) << where;
    EXPECT_EQ(h.blockSize, expected.value("block_size_bytes").toInteger()) << where;
    EXPECT_EQ(h.storedRecordCount, expected.value("record_count").toInteger()) << where;
    EXPECT_EQ(h.usedBlocks, expected.value("used_blocks").toInt()) << where;
    EXPECT_EQ(h.fileBlocks, expected.value("total_blocks").toInt()) << where;
    EXPECT_EQ(h.firstBlock, expected.value("first_block").toInt()) << where;
    EXPECT_EQ(h.lastBlock, expected.value("last_block").toInt()) << where;
    EXPECT_EQ(h.keyFieldCount, expected.value("key_field_count").toInt()) << where;
    if (expected.value("code_page").isNull()) {
        EXPECT_FALSE(h.codePage.has_value()) << where;
    } else {
        EXPECT_EQ(h.codePage, expected.value("code_page").toInt()) << where;
    }
    EXPECT_EQ(h.sortOrder, expected.value("sort_order").toString().toStdString()) << where;
    EXPECT_EQ(table.codePage().codecName, expected.value("codec").toString().toStdString())
        << where;
    EXPECT_EQ(h.scrambled(), expected.value("encrypted").toBool()) << where;
    EXPECT_EQ(table.storedName(), expected.value("table_name").toString().toStdString()) << where;
}

TEST(CorpusConformance, EveryTableMatchesItsExpectedContents) {
    QUORVEX_REQUIRE_CORPUS();
    const std::vector<CorpusTable> tables = CorpusTables();
    ASSERT_FALSE(tables.empty());
    for (const CorpusTable& corpus : tables) {
        SCOPED_TRACE(corpus.label);
        const QJsonObject expected = LoadJson(corpus.expected);
        ASSERT_TRUE(expected.value("error").isNull()) << "the corpus lists an unreadable table";
        paradox::Table table = paradox::Table::Open(corpus.table.toStdString());

        const QJsonArray fields = expected.value("fields").toArray();
        ASSERT_EQ(table.fields().size(), static_cast<std::size_t>(fields.size()));
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QJsonObject f = fields[i].toObject();
            const paradox::Field& field = table.fields()[static_cast<std::size_t>(i)];
            EXPECT_EQ(field.name, f.value("name").toString().toStdString());
            EXPECT_EQ(static_cast<int>(field.type), f.value("px_type").toInt());
            EXPECT_EQ(field.size, f.value("px_size").toInt());
        }
        ExpectHeader(table, expected.value("header").toObject(), corpus.label);
        EXPECT_TRUE(table.warnings().empty());

        const QJsonArray rows = expected.value("rows").toArray();
        ASSERT_EQ(table.rowCount(),
                  static_cast<std::uint64_t>(expected.value("row_count").toInteger()));
        ASSERT_EQ(table.rowCount(), static_cast<std::uint64_t>(rows.size()));
        std::vector<Value> values;
        for (qsizetype r = 0; r < rows.size(); ++r) {
            ASSERT_TRUE(table.next()) << "row " << r + 1;
            EXPECT_EQ(table.rowNumber(), static_cast<std::uint64_t>(r + 1));
            table.readRow(values);
            const QJsonArray row = rows[r].toArray();
            ASSERT_EQ(values.size(), static_cast<std::size_t>(row.size()));
            for (std::size_t i = 0; i < values.size(); ++i) {
                ExpectValue(table, table.fields()[i], values[i], row[static_cast<qsizetype>(i)],
                            corpus.label + " row " + std::to_string(r + 1) + " field " +
                                table.fields()[i].name);
            }
        }
        EXPECT_FALSE(table.next());
        EXPECT_FALSE(table.next()) << "the cursor stays at the end";
    }
}

TEST(CorpusConformance, RewindReadsTheSameRowsAgain) {
    QUORVEX_REQUIRE_CORPUS();
    paradox::Table table = paradox::Table::Open(CorpusFile("db/ORDERS.DB"));
    std::vector<std::vector<Value>> first;
    std::vector<Value> row;
    while (table.next()) {
        table.readRow(row);
        first.push_back(row);
    }
    table.rewind();
    std::size_t i = 0;
    while (table.next()) {
        table.readRow(row);
        ASSERT_LT(i, first.size());
        EXPECT_EQ(row, first[i++]);
    }
    EXPECT_EQ(i, first.size());
    EXPECT_EQ(i, 224u);
}

TEST(CorpusConformance, OpensFromMemoryLikeFromDisk) {
    QUORVEX_REQUIRE_CORPUS();
    paradox::Table fromDisk = paradox::Table::Open(CorpusFile("db/CUSTOMER.DB"));
    paradox::Table fromMemory =
        paradox::Table::FromMemory("CUSTOMER.DB", ReadBytes(CorpusFile("db/CUSTOMER.DB")),
                                   ReadBytes(CorpusFile("db/CUSTOMER.MB")));
    ASSERT_EQ(fromDisk.rowCount(), fromMemory.rowCount());
    std::vector<Value> a;
    std::vector<Value> b;
    while (fromDisk.next()) {
        ASSERT_TRUE(fromMemory.next());
        fromDisk.readRow(a);
        fromMemory.readRow(b);
        EXPECT_EQ(a, b);
    }
    EXPECT_FALSE(fromMemory.next());
}

TEST(CorpusConformance, MemoFileIsFoundWhateverTheCaseOfItsName) {
    QUORVEX_REQUIRE_CORPUS();
    // fields/memo.db keeps its long value in "memo.mb"; copies named in other cases still read.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string table = folder.filePath("Memo.DB").toStdString();
    WriteBytes(table, ReadBytes(CorpusFile("fields/memo.db")));
    WriteBytes(folder.filePath("mEMO.Mb").toStdString(), ReadBytes(CorpusFile("fields/memo.mb")));
    paradox::Table memo = paradox::Table::Open(table);
    ASSERT_TRUE(memo.next());
    EXPECT_EQ(memo.value(1).text().size(), 555u);
}

}  // namespace
}  // namespace quorvex::test
