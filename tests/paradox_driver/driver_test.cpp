// The Paradox driver as the program uses it: a Connection opened with the Paradox connection
// string, and Recordsets over SELECT * FROM "<name>", on tables from our writer and from the
// corpus (tests/corpus).

#include "support/recording_ui.h"
#include "table_writer.h"

#include "data/access/connection.h"
#include "data/core/ado_types.h"
#include "data/core/connection_strings.h"
#include "data/core/failure.h"
#include "data/paradox/calendar.h"
#include "data/paradox_driver/paradox_table_keys.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

namespace quorvex::test {
namespace {

using paradox::FieldType;
namespace px = paradox;

QString ConnectionStringFor(const QString& folder) {
    FixedFields fields;
    fields.folder = folder;
    return ParadoxConnectionString(fields);
}

QString FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.description();
    }
    return QStringLiteral("no failure");
}

px::Value Day(int y, int m, int d) { return px::Value::Date({px::DayNumberFromCivil(y, m, d)}); }

class ParadoxDriver : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        pxwriter::TableDesign design;
        design.version = pxwriter::Version::V7;
        design.codePage = 1252;
        design.fields = {
            {"Id", FieldType::AutoIncrement},
            {"Name", FieldType::Alpha, 20},
            {"Born", FieldType::Date},
            {"Small", FieldType::Short},
            {"Count", FieldType::Long},
            {"Price", FieldType::Money},
            {"Ratio", FieldType::Number},
            {"Paid", FieldType::Logical},
            {"Notes", FieldType::Memo, 15},
            {"Data", FieldType::Blob, 10},
            {"Rich", FieldType::FormattedMemo, 10},
            {"Thing", FieldType::Ole, 10},
            {"Photo", FieldType::Graphic, 10},
            {"At", FieldType::Time},
            {"Stamp", FieldType::Timestamp},
            {"Cents", FieldType::Bcd, 2},
            {"Raw", FieldType::Bytes, 2},
        };
        const std::int64_t stampDay = px::DayNumberFromCivil(2020, 2, 1);
        pxwriter::WriteTable(
            folder_.filePath("every.db").toStdString(), design,
            {
                {px::Value::Integer(1), px::Value::Text("Zoë Müller"), Day(1999, 12, 31),
                 px::Value::Integer(-5), px::Value::Integer(70000), px::Value::Number(12.5),
                 px::Value::Number(-0.25), px::Value::Logical(true),
                 px::Value::Text(std::string(300, 'm')), px::Value::Raw({1, 2, 3}),
                 px::Value::Raw({'r', 't', 'f'}), px::Value::Raw(px::ByteVector(5000, 0xAB)),
                 px::Value::Raw({'B', 'M', 0, 1}), px::Value::Time({3600000 + 1}),
                 px::Value::Stamp({stampDay * 86400000 + 3601000}), px::Value::Dec({"-1.23"}),
                 px::Value::Raw({0, 7})},
                std::vector<px::Value>(17, px::Value()),
            });
    }

    QTemporaryDir folder_;
};

TEST_F(ParadoxDriver, GivesFieldsTypesCountAndValuesOfATable) {
    Connection connection;
    connection.SetCursorLocation(adUseClient);
    connection.Open(ConnectionStringFor(folder_.path()));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM \"EVERY\""), connection);

    EXPECT_EQ(rs.RecordCount(), 2);
    ASSERT_EQ(rs.FieldCount(), 17);
    const int types[] = {adInteger,       adVarWChar,      adDBDate,        adSmallInt,
                         adInteger,       adDouble,        adDouble,        adBoolean,
                         adLongVarWChar,  adLongVarBinary, adLongVarBinary, adLongVarBinary,
                         adLongVarBinary, adDBTime,        adDBTimeStamp,   adDouble,
                         adBinary};
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(rs.FieldType(i), types[i]) << i;
    }
    EXPECT_EQ(rs.FieldName(1), QStringLiteral("Name"));
    EXPECT_EQ(rs.FieldName(16), QStringLiteral("Raw"));

    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.FieldValue(0), Value::Integer(1));
    EXPECT_EQ(rs.FieldValue(1), Value::Text(QStringLiteral("Zoë Müller")));
    EXPECT_EQ(rs.FieldValue(2), Value::Date(QDate(1999, 12, 31)));
    EXPECT_EQ(rs.FieldValue(3), Value::Integer(-5));
    EXPECT_EQ(rs.FieldValue(4), Value::Integer(70000));
    EXPECT_EQ(rs.FieldValue(5), Value::Double(12.5));
    EXPECT_EQ(rs.FieldValue(6), Value::Double(-0.25));
    EXPECT_EQ(rs.FieldValue(7), Value::Boolean(true));
    EXPECT_EQ(rs.FieldValue(8), Value::Text(QString(300, QLatin1Char('m'))));
    EXPECT_EQ(rs.FieldValue(9), Value::Bytes(QByteArray("\x01\x02\x03", 3)));
    EXPECT_EQ(rs.FieldValue(10), Value::Bytes(QByteArray("rtf")));
    EXPECT_EQ(rs.FieldValue(11), Value::Bytes(QByteArray(5000, '\xAB')));
    EXPECT_EQ(rs.FieldValue(12), Value::Bytes(QByteArray("BM\x00\x01", 4)));
    EXPECT_EQ(rs.FieldValue(13), Value::Time(QTime(1, 0, 0, 1)));
    EXPECT_EQ(rs.FieldValue(14),
              Value::DateTime(QDateTime(QDate(2020, 2, 1), QTime(1, 0, 1), QTimeZone::utc())));
    EXPECT_EQ(rs.FieldValue(15), Value::Double(-1.23));
    EXPECT_EQ(rs.FieldValue(16), Value::Bytes(QByteArray("\x00\x07", 2)));
    EXPECT_EQ(rs.FieldValue(1), rs.FieldValue(1)) << "reading a value twice gives it twice";

    rs.MoveNext();
    ASSERT_FALSE(rs.Eof());
    for (int i = 0; i < 17; ++i) {
        EXPECT_TRUE(rs.FieldValue(i).isNull()) << i;
    }
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_FALSE(FailureOf([&] { rs.FieldValue(0); }).isEmpty());
    EXPECT_TRUE(FailureOf([&] { rs.MoveNext(); }).contains(QStringLiteral("end of the table")));
    EXPECT_TRUE(
        FailureOf([&] { rs.FieldValue(17); }).contains(QStringLiteral("no field number 17")));
    rs.Close();
}

TEST_F(ParadoxDriver, TheTypedDoorGivesTheReadersFactsAndTakesACodePage) {
    Connection connection;
    connection.Open(ConnectionStringFor(folder_.path()));
    OpenedParadoxTable table = connection.OpenParadoxTable(QStringLiteral("Every"));
    ASSERT_EQ(table.facts.fields.size(), 17u);
    EXPECT_EQ(table.facts.fields[1].type, FieldType::Alpha);
    EXPECT_EQ(table.facts.fields[1].size, 20);
    EXPECT_EQ(table.facts.fields[16].adoType, adBinary);
    EXPECT_EQ(table.facts.codePage, 1252);
    EXPECT_EQ(table.facts.rowCount, 2);
    // The SQL door goes through it: its rows tell the same facts.
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM \"EVERY\""), connection);
    ASSERT_NE(rs.ParadoxFacts(), nullptr);
    EXPECT_EQ(rs.ParadoxFacts()->codePage, 1252);

    table = connection.OpenParadoxTable(QStringLiteral("every.db"), {1251});
    EXPECT_EQ(table.facts.codePage, 1251);
    EXPECT_NE(table.rows->fieldValue(1), Value::Text(QStringLiteral("Zoë Müller")));
    EXPECT_TRUE(IsKnownParadoxCodePage(936));
    EXPECT_FALSE(IsKnownParadoxCodePage(99999));
    EXPECT_TRUE(FailureOf([&] {
                    connection.OpenParadoxTable(QStringLiteral("../x"));
                }).contains(QStringLiteral("not a valid Paradox table name")));
}

TEST_F(ParadoxDriver, FindsTheTableFileIgnoringCaseAndWithEitherCursor) {
    for (const int cursor : {adUseClient, adUseServer}) {
        for (const char* name : {"every", "EVERY", "Every", "every.db", "EVERY.DB"}) {
            Connection connection;
            connection.SetCursorLocation(cursor);
            connection.Open(ConnectionStringFor(folder_.path()));
            Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM \"%1\"").arg(QLatin1String(name)), connection);
            EXPECT_EQ(rs.RecordCount(), 2) << name;
        }
    }
    // The folder text is matched ignoring case too.
    Connection connection;
    connection.Open(ConnectionStringFor(folder_.path() + QStringLiteral("/")));
    Recordset rs;
    rs.Open(QStringLiteral("select *   from \"every\" "), connection);
    EXPECT_EQ(rs.FieldCount(), 17);
}

TEST_F(ParadoxDriver, RunsNoOtherStatement) {
    Connection connection;
    connection.Open(ConnectionStringFor(folder_.path()));
    const QString refused = QStringLiteral("runs only SELECT * FROM \"<table>\" statements");
    EXPECT_TRUE(FailureOf([&] {
                    connection.Execute(QStringLiteral("DROP TABLE \"EVERY\""));
                }).contains(refused));
    for (const char* statement :
         {"SELECT Id FROM \"EVERY\"", "SELECT * FROM EVERY", "SELECT * FROM \"EVERY\" WHERE Id = 1",
          "DELETE FROM \"EVERY\"", ""}) {
        Recordset rs;
        const QString failure =
            FailureOf([&] { rs.Open(QString::fromLatin1(statement), connection); });
        EXPECT_TRUE(failure.contains(refused)) << statement << ": " << failure.toStdString();
        EXPECT_FALSE(rs.IsOpen());
    }
    EXPECT_TRUE(QFile::exists(folder_.filePath("every.db")));
}

TEST_F(ParadoxDriver, AMissingTableOrFolderIsAClearFailure) {
    Connection connection;
    connection.Open(ConnectionStringFor(folder_.path()));
    Recordset rs;
    const QString missing =
        FailureOf([&] { rs.Open(QStringLiteral("SELECT * FROM \"NOPE\""), connection); });
    EXPECT_TRUE(missing.contains(QStringLiteral("\"NOPE\" was not found")))
        << missing.toStdString();
    EXPECT_TRUE(missing.contains(folder_.path()));
    // A name two files answer to is refused; each is still read by its own file name.
    ASSERT_TRUE(QFile::copy(folder_.filePath("every.db"), folder_.filePath("EVERY.DB")));
    EXPECT_TRUE(FailureOf([&] {
                    rs.Open(QStringLiteral("SELECT * FROM \"every\""), connection);
                }).contains(QStringLiteral("could be any of the files")));
    rs.Open(QStringLiteral("SELECT * FROM \"EVERY.DB\""), connection);
    EXPECT_EQ(rs.RecordCount(), 2);

    Connection nowhere;
    const QString noFolder =
        FailureOf([&] { nowhere.Open(ConnectionStringFor(folder_.filePath("gone"))); });
    EXPECT_TRUE(noFolder.contains(QStringLiteral("does not exist"))) << noFolder.toStdString();
    EXPECT_FALSE(nowhere.IsOpen());
    Connection file;
    EXPECT_TRUE(FailureOf([&] {
                    file.Open(ConnectionStringFor(folder_.filePath("every.db")));
                }).contains(QStringLiteral("not a folder")));
}

TEST_F(ParadoxDriver, ATableNameCannotReachOutsideTheFolder) {
    // A readable table one level up must stay out of reach of a name with a path in it.
    QDir(folder_.path()).mkdir(QStringLiteral("inner"));
    QFile::copy(folder_.filePath("every.db"), folder_.filePath("inner/../outside.db"));
    Connection connection;
    connection.Open(ConnectionStringFor(folder_.filePath("inner")));
    for (const char* name : {"../outside", "../every", "/etc/passwd", "..", "."}) {
        Recordset rs;
        const QString failure = FailureOf([&] {
            rs.Open(QStringLiteral("SELECT * FROM \"%1\"").arg(QLatin1String(name)), connection);
        });
        EXPECT_TRUE(failure.contains(QStringLiteral("not a valid Paradox table name"))) << name;
    }
}

TEST_F(ParadoxDriver, AReaderErrorArrivesAsAFailureWithTheReadersMessage) {
    QFile index(folder_.filePath("BROKEN.DB"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write(QByteArray(100, '\x01'));
    index.close();
    Connection connection;
    connection.Open(ConnectionStringFor(folder_.path()));
    Recordset rs;
    const QString failure =
        FailureOf([&] { rs.Open(QStringLiteral("SELECT * FROM \"BROKEN\""), connection); });
    EXPECT_TRUE(failure.startsWith(QStringLiteral("Cannot read the Paradox table file")))
        << failure.toStdString();
    EXPECT_TRUE(failure.contains(QStringLiteral("BROKEN.DB")));
    EXPECT_TRUE(failure.contains(QStringLiteral("primary index file")));
}

TEST_F(ParadoxDriver, ReadsLargeTablesBlockByBlockWithTheExactCountUpFront) {
    pxwriter::TableDesign design;
    design.codePage = 437;
    design.blockSizeKib = 4;
    design.fields = {{"N", FieldType::Long}, {"Text", FieldType::Alpha, 30}};
    pxwriter::TableWriter writer(folder_.filePath("BIG.DB").toStdString(), design);
    for (int i = 0; i < 30000; ++i) {
        writer.addRow({px::Value::Integer(i), px::Value::Text("row " + std::to_string(i))});
    }
    writer.finish();
    Connection connection;
    connection.SetCursorLocation(adUseClient);
    connection.Open(ConnectionStringFor(folder_.path()));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM \"BIG\""), connection);
    ASSERT_EQ(rs.RecordCount(), 30000);
    std::int64_t seen = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        ASSERT_EQ(rs.FieldValue(0), Value::Integer(seen));
        ++seen;
    }
    EXPECT_EQ(seen, 30000);
}

TEST(ParadoxDriverOnCorpus, ReadsARealTableWithMemos) {
    const QString folder = QStringLiteral(QUORVEX_CORPUS_DIR "/db");
    ASSERT_TRUE(QDir(folder).exists()) << "The Paradox corpus is missing: " << folder.toStdString();
    Connection connection;
    connection.SetCursorLocation(adUseClient);
    connection.Open(ConnectionStringFor(folder));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM \"customer\""), connection);
    EXPECT_EQ(rs.RecordCount(), 20);
    ASSERT_EQ(rs.FieldCount(), 10);
    EXPECT_EQ(rs.FieldName(8), QStringLiteral("Comments"));
    EXPECT_EQ(rs.FieldType(0), adInteger);
    EXPECT_EQ(rs.FieldType(8), adLongVarWChar);
    EXPECT_EQ(rs.FieldType(9), adDBDate);
    EXPECT_EQ(rs.FieldValue(1), Value::Text(QStringLiteral("Luke")));
    EXPECT_EQ(rs.FieldValue(9), Value::Date(QDate(1996, 2, 2)));
    rs.MoveNext();
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_EQ(rs.FieldValue(8).toText().size(), 56864) << "row 4's memo is kept in CUSTOMER.MB";

    Recordset bcd;
    Connection fields;
    fields.Open(ConnectionStringFor(QStringLiteral(QUORVEX_CORPUS_DIR "/fields")));
    bcd.Open(QStringLiteral("SELECT * FROM \"BCD\""), fields);
    EXPECT_EQ(bcd.FieldType(2), adDouble);
    EXPECT_EQ(bcd.FieldValue(0), Value::Double(1.23));
    EXPECT_EQ(bcd.FieldValue(2), Value::Double(0.123));

    const ParadoxTableKeys keys = ReadParadoxTableKeys(folder + QStringLiteral("/AREACODES.DB"));
    EXPECT_EQ(keys.keyFieldCount, 1);
    EXPECT_TRUE(keys.primaryIndexFound);
    ASSERT_EQ(keys.indexes.size(), 1u);
    EXPECT_EQ(keys.indexes[0].tag, QStringLiteral("XG0"));
    EXPECT_EQ(keys.indexes[0].fields, std::vector<int>{1});
    EXPECT_THROW(ReadParadoxTableKeys(folder + QStringLiteral("/AREACODES.PX")), Failure);
}

}  // namespace
}  // namespace quorvex::test
