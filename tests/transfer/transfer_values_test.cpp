// Every Paradox field type through the transfer, and values that break naive statement
// building, read back from the test server byte for byte.

#include "transfer_fixture.h"

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "data/core/ado_types.h"
#include "data/core/failure.h"
#include "support/oracle_statement_rules.h"
#include "transfer/create_table_statement.h"
#include "transfer/native_comparison.h"
#include "transfer/native_keys.h"
#include "transfer/native_shape.h"
#include "transfer/native_statements.h"

#include <QCryptographicHash>
#include <QTimeZone>

#include <limits>

namespace quorvex::test {
namespace {

class TransferValues : public TransferTest {};

const std::vector<pw::FieldDesign> kEveryType = {
    Alpha("Alpha", 20),
    Typed("Date", px::FieldType::Date),
    Typed("Short", px::FieldType::Short),
    Typed("Long", px::FieldType::Long),
    Typed("Money", px::FieldType::Money),
    Typed("Number", px::FieldType::Number),
    Typed("Logical", px::FieldType::Logical),
    Typed("Memo", px::FieldType::Memo, 20),
    Typed("Blob", px::FieldType::Blob, 10),
    Typed("FMemo", px::FieldType::FormattedMemo, 10),
    Typed("Ole", px::FieldType::Ole, 10),
    Typed("Graphic", px::FieldType::Graphic, 10),
    Typed("Time", px::FieldType::Time),
    Typed("Timestamp", px::FieldType::Timestamp),
    Typed("Auto", px::FieldType::AutoIncrement),
    Typed("BCD", px::FieldType::Bcd, 2),
    Typed("Bytes", px::FieldType::Bytes, 4),
};

TEST_F(TransferValues, EveryFieldTypeArrivesAndReadsBack) {
    const QString memo = QStringLiteral("Line one\r\nLine two with more than the leader holds");
    WriteTable("ALLTYPES.DB", kEveryType,
               {{Text("Zoë's"), DateOf(2014, 3, 14), Int(-5), Int(123456),
                 Number(0.16999999999999998), Number(0.000015), px::Value::Logical(true),
                 Text(memo), Raw(QByteArray("\x00\x41\xff", 3)), Raw("rtf"), Raw("OLE"),
                 Raw("BM\x01\x02"), TimeOf(13, 7, 1), StampOf(2020, 2, 1, 1, 0, 1), Int(1),
                 px::Value::Dec({"1.23"}), Raw(QByteArray("\x31\x00\x32\x00", 4))},
                {{},
                 {},
                 {},
                 {},
                 {},
                 {},
                 px::Value::Logical(false),
                 {},
                 {},
                 {},
                 {},
                 {},
                 {},
                 {},
                 Int(2),
                 {},
                 {}}});
    ShowParadoxTables({"ALLTYPES"}, {"ALLTYPES"});

    const StatementLog log;
    Send();

    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join("\n").toStdString();
    const QStringList sent = SentAfterSessionSetting(log);
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent[0],
              QStringLiteral("CREATE TABLE \"ALLTYPES\"(\"Alpha\" NVARCHAR2(2000),\"Date\" "
                             "NVARCHAR2(2000),\"Short\" INT,\"Long\" INT,\"Money\" FLOAT,"
                             "\"Number\" FLOAT,\"Logical\" NVARCHAR2(2000),\"Memo\" "
                             "NVARCHAR2(2000),\"Blob\" BLOB,\"FMemo\" BLOB,\"Ole\" BLOB,"
                             "\"Graphic\" BLOB,\"Time\" NVARCHAR2(2000),\"Timestamp\" "
                             "NVARCHAR2(2000),\"Auto\" INT,\"BCD\" FLOAT,\"Bytes\" "
                             "NVARCHAR2(2000))"));
    EXPECT_EQ(sent[1].toStdString(),
              (QStringLiteral("INSERT INTO \"ALLTYPES\" VALUES('Zoë''s', '3/14/2014', "
                              "'-5', '123456', '0.17', '1.5E-05', 'True', '") +
               memo +
               QStringLiteral("', '0041FF', '727466', '4F4C45', '424D0102', "
                              "'1:07:01 PM', '2/1/2020 1:00:01 AM', '1', '1.23', "
                              "'31003200')"))
                  .toStdString());
    EXPECT_EQ(sent[2], QStringLiteral("INSERT INTO \"ALLTYPES\" VALUES(NULL, NULL, NULL, NULL, "
                                      "NULL, NULL, 'False', NULL, NULL, NULL, NULL, NULL, NULL, "
                                      "NULL, '2', NULL, NULL)"));

    // Read back: numbers by the server's own conversion, texts and the BLOB's bytes exactly.
    const QList<QStringList> rows = ServerQuery(
        "SELECT \"Alpha\"::text, \"Date\"::text, \"Short\", \"Long\", \"Money\", \"Number\", "
        "\"Logical\"::text, \"Memo\"::text, encode(\"Blob\", 'hex'), \"Time\"::text, "
        "\"Timestamp\"::text, \"Auto\", \"BCD\", \"Bytes\"::text FROM \"ALLTYPES\" ORDER BY "
        "\"Auto\"");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (QStringList{"Zoë's", "3/14/2014", "-5", "123456", "0.17", "1.5e-05", "True",
                                    memo, "0041ff", "1:07:01 PM", "2/1/2020 1:00:01 AM", "1",
                                    "1.23", "31003200"}));
    EXPECT_TRUE(rows[1][0].isNull());
    EXPECT_EQ(rows[1][6], QStringLiteral("False"));
    EXPECT_EQ(rows[1][11], QStringLiteral("2"));
    EXPECT_TRUE(rows[1][13].isNull());
}

TEST_F(TransferValues, AwkwardTextsArriveByteExact) {
    const QStringList texts = {
        "O'Brien",
        "'",
        "''",
        "ends with a quote'",
        "say \"hi\"",
        "C:\\temp\\new\\table.db",
        "back\\",
        "two\r\nlines\nand\ra tab\there",
        "äöüß é € ’ naïve",
        "', NULL, '",
        "NULL",
        " ",
        "); DROP TABLE \"X\"; --",
    };
    std::vector<Row> rows;
    for (int i = 0; i < texts.size(); ++i) {
        rows.push_back({Int(i), Text(texts[i]), Text(texts[i])});
    }
    WriteTable("AWKWARD.DB",
               {Typed("Id", px::FieldType::Long), Alpha("Short", 100),
                Typed("Long", px::FieldType::Memo, 11)},
               rows);
    ShowParadoxTables({"AWKWARD"}, {"AWKWARD"});

    Send();

    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join("\n").toStdString();
    const QList<QStringList> back =
        ServerQuery("SELECT \"Short\"::text, \"Long\"::text FROM \"AWKWARD\" ORDER BY \"Id\"");
    ASSERT_EQ(back.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(back[i], (QStringList{texts[i], texts[i]})) << texts[i].toStdString();
    }
}

TEST_F(TransferValues, TheLongestMemoAColumnTakesArrivesWhole) {
    QString memo;
    for (int i = 0; memo.size() < 2000; ++i) {
        memo += QStringLiteral("%1 ü'\n").arg(i);
    }
    memo.truncate(2000);
    WriteTable("MEMO.DB", {Typed("Memo", px::FieldType::Memo, 50)}, {{Text(memo)}});
    ShowParadoxTables({"MEMO"}, {"MEMO"});

    Send();

    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join("\n").toStdString();
    EXPECT_EQ(ServerQuery("SELECT \"Memo\"::text FROM \"MEMO\""), (QList<QStringList>{{memo}}));
}

TEST_F(TransferValues, LongValuesArriveWholeAsBoundValuesAndShortOnesStayLiterals) {
    QByteArray picture(5 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 7 % 251);
    const QByteArray smallPicture = picture.left(3000);
    const QByteArray longestLiteral = picture.left(2000);                  // 4,000 hex digits
    const QString chinese = QStringLiteral("汉字测试数据").repeated(250);  // 4,500 bytes in UTF-8
    const QString longestMemo = QStringLiteral("长备注").repeated(667).left(2000);
    WriteTable("LONG.DB",
               {Typed("Id", px::FieldType::Short), Typed("Picture", px::FieldType::Graphic, 10),
                Typed("Memo", px::FieldType::Memo, 10)},
               {{Int(1), Raw(picture), {}},
                {Int(2), {}, Text(chinese)},
                {Int(3), Raw(smallPicture), Text(longestMemo)},
                {Int(4), Raw(longestLiteral), Text("short")},
                {Int(5), Raw(picture), Text(chinese)}},
               936);
    ShowParadoxTables({"LONG"}, {"LONG"});

    const StatementLog log;
    Send();

    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join("\n").toStdString();
    const QStringList inserts =
        StatementsStartingWith(log.Since(), QStringLiteral("INSERT INTO \"LONG\""));
    ASSERT_EQ(inserts.size(), 5);
    EXPECT_EQ(inserts[0], QStringLiteral("INSERT INTO \"LONG\" VALUES('1', $1, NULL)"));
    EXPECT_EQ(inserts[1], QStringLiteral("INSERT INTO \"LONG\" VALUES('2', NULL, $1)"));
    // Oracle takes a LONG RAW bind (a byte value over 2,000 bytes) only after every other bind.
    EXPECT_EQ(inserts[2], QStringLiteral("INSERT INTO \"LONG\" (\"Id\", \"Memo\", \"Picture\") "
                                         "VALUES('3', $1, $2)"));
    EXPECT_EQ(inserts[3], QStringLiteral("INSERT INTO \"LONG\" VALUES('4', '") +
                              QString::fromLatin1(longestLiteral.toHex().toUpper()) +
                              QStringLiteral("', 'short')"));
    EXPECT_EQ(inserts[4], QStringLiteral("INSERT INTO \"LONG\" (\"Id\", \"Memo\", \"Picture\") "
                                         "VALUES('5', $1, $2)"));

    // A bound picture arrives as its bytes, and so does one written as a hex literal.
    const auto md5 = [](const QByteArray& bytes) {
        return QString::fromLatin1(
            QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    };
    EXPECT_EQ(
        ServerQuery("SELECT \"Id\", md5(\"Picture\"), \"Memo\"::text FROM \"LONG\" ORDER BY 1"),
        (QList<QStringList>{{"1", md5(picture), QString()},
                            {"2", QString(), chinese},
                            {"3", md5(smallPicture), longestMemo},
                            {"4", md5(longestLiteral), "short"},
                            {"5", md5(picture), chinese}}));
}

TEST_F(TransferValues, OnANonUnicodeDatabaseNonAsciiTextsAreBoundAndForeignNamesRefused) {
    const DeclaredCharacterSet windows(QStringLiteral("WE8MSWIN1252"));
    const QStringList texts = {"Ærø", "Straße", "plain"};
    WriteTable("TEXTS.DB", {Typed("Id", px::FieldType::Short), Alpha("Text", 20)},
               {{Int(1), Text(texts[0])}, {Int(2), Text(texts[1])}, {Int(3), Text(texts[2])}});
    WriteTable("日本.DB", {Alpha("Text", 20)}, {{Text("日本")}}, 936);
    ShowParadoxTables({"TEXTS", "日本"}, {"TEXTS", "日本"});

    const std::int64_t start = TestServerLogSize();
    const StatementLog log;
    Send();

    // The table whose name the set cannot hold is refused before its CREATE TABLE.
    EXPECT_EQ(ReportedLines(), std::vector<int>{142});
    EXPECT_TRUE(dialogs.Texts().join("").contains(
        QStringLiteral("\"日\" (U+65E5), which the database character set WE8MSWIN1252")));
    const QList<LoggedStatement> sent = log.SinceWithCharacterSetQueries();
    ASSERT_GE(sent.size(), 2);
    EXPECT_EQ(sent[1].text, kCharacterSetQuery);  // right after the session setting
    EXPECT_TRUE(StatementsStartingWith(log.Since(), "CREATE TABLE \"日本\"").isEmpty());
    // Non-ASCII texts are bound (wide, into their NVARCHAR2 column); ASCII stays a literal.
    const QList<LoggedStatement> inserts = log.SinceWithBoundValues().mid(2);
    ASSERT_EQ(inserts.size(), 3);
    EXPECT_EQ(inserts[0].text, QStringLiteral("INSERT INTO \"TEXTS\" VALUES('1', $1)"));
    EXPECT_EQ(inserts[1].boundValues, QStringList{texts[1]});
    EXPECT_EQ(inserts[2].text, QStringLiteral("INSERT INTO \"TEXTS\" VALUES('3', 'plain')"));
    EXPECT_EQ(ServerQuery("SELECT \"Text\"::text FROM \"TEXTS\" ORDER BY \"Id\""),
              (QList<QStringList>{{texts[0]}, {texts[1]}, {texts[2]}}));
    // Read as this database would read them, the statements hold nothing it would replace.
    const OracleFormCheck check =
        CheckOracleForm(ServerLogEntriesSince(start), {windows.characterSet()});
    EXPECT_GE(check.statements, 4);
    EXPECT_EQ(check.violations, QStringList()) << check.violations.join("\n").toStdString();
}

TEST_F(TransferValues, ARowTheServerRefusesIsReportedAndTheOthersArrive) {
    // 2001 characters do not fit an NVARCHAR2(2000) column.
    WriteTable("MEMO.DB",
               {Typed("Id", px::FieldType::Short), Typed("Memo", px::FieldType::Memo, 50)},
               {{Int(1), Text("short")}, {Int(2), Text(QString(2001, u'x'))}, {Int(3), Text("x")}});
    ShowParadoxTables({"MEMO"}, {"MEMO"});

    Send();

    EXPECT_EQ(ReportedLines(), std::vector<int>{244});
    EXPECT_EQ(ServerQuery("SELECT \"Id\" FROM \"MEMO\" ORDER BY 1"),
              (QList<QStringList>{{"1"}, {"3"}}));
    EXPECT_EQ(Entries(oracleList), QStringList{"MEMO"});
}

TEST_F(TransferValues, AnInfiniteNumberGoesAsNullWithOneReportNamingTableRowAndField) {
    const double infinity = std::numeric_limits<double>::infinity();
    WriteTable("INF.DB", {Typed("Id", px::FieldType::Short), Typed("N", px::FieldType::Number)},
               {{Int(1), Number(1.5)}, {Int(2), Number(-infinity)}});
    ShowParadoxTables({"INF"}, {"INF"});

    Send();

    EXPECT_EQ(ReportedLines(), std::vector<int>{226});
    EXPECT_TRUE(dialogs.Texts().join("\n").contains(
        "Row 2 of table INF holds a number Oracle cannot store: N (-infinity); NULL is sent"))
        << dialogs.Texts().join("\n").toStdString();
    EXPECT_EQ(ServerQuery("SELECT \"Id\", \"N\" FROM \"INF\" ORDER BY 1"),
              (QList<QStringList>{{"1", "1.5"}, {"2", QString()}}));
}

TEST_F(TransferValues, NumbersKeepTheirValueThroughTheirText) {
    const std::vector<double> numbers = {0.0,     -0.0,     1e15,    1e-5,
                                         -1.5e-5, 0.1,      1.0 / 3, 123456.789,
                                         -1e300,  4.9e-324, 0.0001,  99999999999999.9};
    std::vector<Row> rows;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        rows.push_back({Int(static_cast<int>(i)), Number(numbers[i])});
    }
    WriteTable("NUMBERS.DB", {Typed("Id", px::FieldType::Long), Typed("N", px::FieldType::Number)},
               rows);
    ShowParadoxTables({"NUMBERS"}, {"NUMBERS"});

    Send();

    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join("\n").toStdString();
    const QList<QStringList> back = ServerQuery("SELECT \"N\" FROM \"NUMBERS\" ORDER BY \"Id\"");
    ASSERT_EQ(back.size(), static_cast<int>(numbers.size()));
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const double value = back[static_cast<int>(i)][0].toDouble();
        EXPECT_NEAR(value, numbers[i], std::abs(numbers[i]) * 1e-14) << i;
    }
}

// The native copy's statements on the server: every value reads back in the same exact form, a
// planted change of one millisecond or one digit differs, and a key over repeated values is
// refused while the offending values are found.
TEST_F(TransferValues, NativeStatementsKeepEveryValueExactlyAndTheKeyComesAfterTheRows) {
    const std::vector<NativeField> fields = {
        {QStringLiteral("Id"), px::FieldType::Long, 4},
        {QStringLiteral("Name"), px::FieldType::Alpha, 20},
        {QStringLiteral("Memo"), px::FieldType::Memo, 20},
        {QStringLiteral("Blob"), px::FieldType::Blob, 10},
        {QStringLiteral("Tag"), px::FieldType::Bytes, 4},
        {QStringLiteral("N"), px::FieldType::Number, 8},
        {QStringLiteral("Exact"), px::FieldType::Bcd, 18},
        {QStringLiteral("Paid"), px::FieldType::Logical, 1},
        {QStringLiteral("Day"), px::FieldType::Date, 4},
        {QStringLiteral("At"), px::FieldType::Time, 4},
        {QStringLiteral("Stamp"), px::FieldType::Timestamp, 8},
    };
    const auto stamp = [](int ms) {
        return Value::DateTime(
            QDateTime(QDate(2028, 7, 19), QTime(10, 53, 53, ms), QTimeZone::utc()));
    };
    const std::vector<std::vector<Value>> rows = {
        {Value::Integer(1), Value::Text(QStringLiteral("it's")), Value::Text(QString(100000, u'm')),
         Value::Bytes(QByteArray(3000, '\0')), Value::Bytes(QByteArray("\0\xff\x1b", 3)),
         Value::Double(103945.00000000003), Value::Text(QStringLiteral("0.122999999999999998")),
         Value::Boolean(true), Value::Date(QDate(1920, 9, 8)), Value::Time(QTime(20, 9, 17, 928)),
         stamp(123)},
        {Value::Integer(1), Value::Null(), Value::Null(), Value::Null(), Value::Null(),
         Value::Double(-std::numeric_limits<double>::infinity()), Value::Text(QStringLiteral("-7")),
         Value::Boolean(false), Value::Date(QDate(1, 1, 1)), Value::Time(QTime(0, 0)), stamp(0)},
    };
    Connection oracle;
    oracle.Open(TestServerConnectionString());
    oracle.Execute(BuildNativeCreateTable(QStringLiteral("NATIVE"), fields));
    const NativeInsertLayout layout = BuildNativeInsertLayout(QStringLiteral("NATIVE"), fields);
    for (const auto& row : rows) {
        const InsertRow insert = BuildNativeInsert(layout, row);
        oracle.Execute(insert.text, insert.boundValues);
    }
    const auto readBack = [&] {
        std::vector<std::vector<std::optional<QString>>> read;
        Recordset rs;
        rs.Open(NativeSelectStatement(QStringLiteral("NATIVE"), fields) +
                    QStringLiteral(" ORDER BY \"Paid\" DESC"),
                oracle);
        for (; !rs.Eof(); rs.MoveNext()) {
            auto& values = read.emplace_back();
            for (std::size_t f = 0; f < fields.size(); ++f) {
                values.push_back(
                    NativeComparableText(NativeColumnFor(fields[f].type, fields[f].size),
                                         rs.FieldValue(static_cast<int>(f))));
            }
        }
        return read;
    };
    std::vector<std::vector<std::optional<QString>>> sent;
    for (const auto& row : rows) {
        auto& values = sent.emplace_back();
        for (std::size_t f = 0; f < fields.size(); ++f) {
            values.push_back(
                NativeComparableText(NativeColumnFor(fields[f].type, fields[f].size), row[f]));
        }
    }
    EXPECT_EQ(readBack(), sent);
    ServerExecute(QStringLiteral(
        "UPDATE \"NATIVE\" SET \"At\" = \"At\" + INTERVAL '0 00:00:00.001' DAY TO SECOND(3), "
        "\"Exact\" = \"Exact\" + 1E-18 WHERE \"Paid\" = 1"));
    const auto changed = readBack();
    EXPECT_EQ(changed[0][9], QStringLiteral("20:09:17.929"));
    EXPECT_EQ(changed[0][6], QStringLiteral("0.122999999999999999"));
    ParadoxTableKeys keys;
    keys.keyFieldCount = 1;
    keys.indexes = {{QStringLiteral("when"), QStringLiteral("XG0"), {8, 1}}};
    keys.damaged = {QStringLiteral("NATIVE.X02 is cut short")};
    std::vector<QString> names;
    for (const NativeField& field : fields) names.push_back(field.name);
    const NativeKeysResult refused = MakeNativeKeys(oracle, QStringLiteral("NATIVE"), names, keys);
    EXPECT_FALSE(refused.keyMade);
    EXPECT_TRUE(refused.keyProblem.contains(QStringLiteral("repeated or missing: Id 1 in 2 rows;")))
        << refused.keyProblem.toStdString();
    EXPECT_EQ(refused.indexesMade, 1);
    EXPECT_EQ(refused.indexProblems.size(), 1);  // the damaged index file
    ServerExecute(QStringLiteral("DROP INDEX \"NATIVE_XG0\""));
    ServerExecute(QStringLiteral("UPDATE \"NATIVE\" SET \"Id\" = 2 WHERE \"Paid\" = 0"));
    keys.damaged.clear();
    const NativeKeysResult made = MakeNativeKeys(oracle, QStringLiteral("NATIVE"), names, keys);
    EXPECT_TRUE(made.keyMade && made.complete()) << made.keyProblem.toStdString();
    // The dictionary then shows the native table, its key and its index.
    const QString table = QStringLiteral("NATIVE");
    EXPECT_EQ(NativeShapeDifference(fields, ReadOracleColumns(oracle, table)), QString());
    EXPECT_EQ(NativeKeysDifference(table, names, keys, ReadOracleKeys(oracle, table)),
              QStringList());
    ServerExecute(QStringLiteral("DROP INDEX \"NATIVE_XG0\""));
    EXPECT_EQ(NativeKeysDifference(table, names, keys, ReadOracleKeys(oracle, table)),
              QStringList{"the index \"NATIVE_XG0\" (\"Day\", \"Name\") is missing"});
    oracle.Execute(BuildCreateTableStatement(QStringLiteral("WINDOW"),
                                             {{QStringLiteral("Memo"), adLongVarWChar}}));
    EXPECT_EQ(
        NativeShapeDifference({fields[2]}, ReadOracleColumns(oracle, QStringLiteral("WINDOW"))),
        "its column \"Memo\" is NVARCHAR2(2000), not the native NCLOB");
}

}  // namespace
}  // namespace quorvex::test
