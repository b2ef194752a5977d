#include "data/core/ado_types.h"
#include "data/core/failure.h"
#include "support/oracle_statement_rules.h"
#include "transfer/create_table_statement.h"
#include "transfer/insert_statement.h"
#include "transfer/kept_tables.h"
#include "transfer/ledger_statements.h"
#include "transfer/migration_ledger.h"
#include "transfer/native_shape.h"
#include "transfer/native_statements.h"
#include "transfer/native_value.h"
#include "transfer/quoted_name.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

const std::vector<SourceField> kOrdersFields = {
    {QStringLiteral("OrderNo"), adInteger},     {QStringLiteral("Customer"), adVarChar},
    {QStringLiteral("Amount"), adDouble},       {QStringLiteral("Placed"), adDBDate},
    {QStringLiteral("Photo"), adLongVarBinary},
};

TEST(CreateTableStatement, OrdersExample) {
    EXPECT_EQ(BuildCreateTableStatement(QStringLiteral("ORDERS"), kOrdersFields),
              QStringLiteral("CREATE TABLE \"ORDERS\"(\"OrderNo\" INT,\"Customer\" "
                             "NVARCHAR2(2000),\"Amount\" FLOAT,\"Placed\" NVARCHAR2(2000),"
                             "\"Photo\" BLOB)"));
}

TEST(CreateTableStatement, OneFieldHasNoComma) {
    EXPECT_EQ(BuildCreateTableStatement(QStringLiteral("T"), {{QStringLiteral("A"), adSingle}}),
              QStringLiteral("CREATE TABLE \"T\"(\"A\" INT)"));
}

TEST(CreateTableStatement, NamesKeepCaseBlanksAndPunctuation) {
    const QString statement = BuildCreateTableStatement(
        QStringLiteral("my Table"),
        {{QStringLiteral("# in Stock"), adSmallInt}, {QStringLiteral("naïve 'x'"), 1000}});
    EXPECT_EQ(statement, QStringLiteral("CREATE TABLE \"my Table\"(\"# in Stock\" INT,"
                                        "\"naïve 'x'\" NVARCHAR2(2000))"));
}

TEST(CreateTableStatement, NoFieldsTakesBackTheParenthesis) {
    // Nothing but the removal of the last character and the closing parenthesis: the server
    // refuses the text, the builder does not fail on it.
    EXPECT_EQ(BuildCreateTableStatement(QStringLiteral("T"), {}),
              QStringLiteral("CREATE TABLE \"T\")"));
}

TEST(CreateTableStatement, RefusesNamesHoldingADoubleQuote) {
    try {
        BuildCreateTableStatement(QStringLiteral("A\"B"), kOrdersFields);
        FAIL() << "a table name with a double quote was accepted";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains(QStringLiteral("A\"B")))
            << failure.description().toStdString();
    }
    try {
        BuildCreateTableStatement(QStringLiteral("T"),
                                  {{QStringLiteral("ok"), adInteger},
                                   {QStringLiteral("x\") ; DROP TABLE \"y"), adInteger}});
        FAIL() << "a field name with a double quote was accepted";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains(QStringLiteral("x\") ; DROP TABLE \"y")));
    }
}

TEST(TableStatements, DropAndSelectQuoteTheNameUnchanged) {
    EXPECT_EQ(DropTableStatement(QStringLiteral("Orders 2")),
              QStringLiteral("DROP TABLE \"Orders 2\""));
    EXPECT_EQ(SelectAllStatement(QStringLiteral("O'BRIEN")),
              QStringLiteral("SELECT * FROM \"O'BRIEN\""));
    EXPECT_THROW(DropTableStatement(QStringLiteral("\"")), Failure);
    EXPECT_THROW(SelectAllStatement(QStringLiteral("A\"")), Failure);
}

TEST(TableStatements, TheLedgersStatementsAreOnesOracleTakesEvenWithThirtyByteNames) {
    LedgerEntry entry{7, QStringLiteral("T"), QStringLiteral("/d/T.DB"), 2048};
    entry.finished = QDateTime(QDate(2026, 12, 8), QTime(1, 2, 3, 45), Qt::UTC);
    LedgerRun run{3, QStringLiteral("host"), 42, entry.finished};
    for (const QString& statement :
         {CreateLedgerRunsStatement(), CreateLedgerTablesStatement(), CreateLedgerLockStatement(),
          InsertLedgerLockRowStatement(), LockLedgerStatement(), OpenLedgerRunsQuery(),
          NextLedgerRunIdQuery(), InsertLedgerRunStatement(run),
          EndLedgerRunStatement(3, entry.finished, std::nullopt), InsertLedgerEntryStatement(entry),
          LatestLedgerEntriesQuery(true), LatestLedgerEntriesQuery(false), LedgerFingerprintProbe(),
          AddLedgerFingerprintStatement(), RecordLedgerColumnsStatement(3),
          OracleColumnsQuery(QStringLiteral("O'BRIEN"))}) {
        EXPECT_EQ(OracleFormProblem(statement, {{}, 30}), QString()) << statement.toStdString();
        EXPECT_FALSE(statement.contains(QStringLiteral("NUMBER"))) << statement.toStdString();
    }
    EXPECT_TRUE(InsertLedgerEntryStatement(entry).contains(QStringLiteral(
        "(7, ?, ?, 2048, ?, 0, 0, 0, ?, ?, ?, TIMESTAMP '2026-12-08 01:02:03.045'")));
    EXPECT_EQ(RowNumberRanges({12, 3, 10, 11, 7, 3}), QStringLiteral("3,7,10-12"));
    EXPECT_EQ(RowNumbersOf(QStringLiteral("3,7,10-12")),
              (std::vector<std::int64_t>{3, 7, 10, 11, 12}));
    EXPECT_EQ(RowNumberRanges({1, 3, 5}, 4), QString());  // too long: left to the rejects file
}

TEST(TableStatements, ALedgerEntryJudgesATableByItsFileAndOraclesCount) {
    using State = LedgerStanding::State;
    QTemporaryDir folder;
    const QString path = folder.filePath("T.DB");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("abc") == 3);
    file.close();
    LedgerEntry entry{4, QStringLiteral("T"), path, 3, QFileInfo(path).lastModified().toUTC()};
    entry.rowsRead = 10;
    entry.rowsArrived = 7;
    entry.outcome = QStringLiteral("incomplete");

    EXPECT_EQ(StandingOf(nullptr, path, 10, 7).state, State::Unknown);
    EXPECT_EQ(StandingOf(&entry, path, 10, 7).state, State::Complete);  // refused rows aside
    EXPECT_EQ(StandingOf(&entry, path, 10, 9).Describe(9),
              QStringLiteral("changed since its send in run 4: 9 rows in Oracle where 7 arrived"));
    // A column altered by hand, the rows as they were; an entry without a fingerprint (an older
    // ledger's) or a table whose columns could not be read goes by the rows alone.
    entry.columns = QStringLiteral("ab12");
    EXPECT_EQ(StandingOf(&entry, path, 10, 7, QStringLiteral("ab12")).state, State::Complete);
    EXPECT_EQ(StandingOf(&entry, path, 10, 7, QStringLiteral("cd34")).Describe(7),
              QStringLiteral("changed since its send in run 4: its columns were altered"));
    EXPECT_EQ(StandingOf(&entry, path, 10, 7).state, State::Complete);
    entry.columns.clear();
    EXPECT_EQ(StandingOf(&entry, path, 10, 7, QStringLiteral("cd34")).state, State::Complete);
    EXPECT_EQ(StandingOf(&entry, path, 12, 7).state, State::Unfinished);  // read in part
    EXPECT_EQ(StandingOf(&entry, folder.filePath("GONE.DB"), 10, 7).state, State::SourceChanged);
    // Changed by hand and in its file: kept all the same, the hand's work is not dropped.
    EXPECT_EQ(StandingOf(&entry, folder.filePath("GONE.DB"), 10, 9).Describe(9),
              QStringLiteral("changed since its send in run 4: 9 rows in Oracle where 7 arrived; "
                             "its Paradox file changed too, and --overwrite sends it again"));
    entry.outcome = kLedgerSending;
    EXPECT_EQ(StandingOf(&entry, path, 10, 7).state, State::Unfinished);
    entry.fileSize = 4;
    EXPECT_EQ(StandingOf(&entry, path, 10, 7).state, State::SourceChanged);

    entry.fileSize = 3;
    entry.outcome = QStringLiteral("incomplete");
    KeptTable kept;
    kept.paradoxRows = 10;
    kept.oracleRows = 7;
    kept.standing = StandingOf(&entry, path, 10, 7);
    EXPECT_TRUE(kept.ResumeKeeps());
    // Not the native table of its Paradox table: a native --resume sends it again all the same.
    kept.notNative = QStringLiteral("its column \"Id\" is NUMBER, not the native NUMBER(10)");
    EXPECT_FALSE(kept.ResumeKeeps());
    EXPECT_TRUE(kept.Describe().startsWith(QStringLiteral("it is not a native table: ")));
}

TEST(InsertStatement, OrdersExample) {
    const std::vector<Value> row = {Value::Integer(1001), Value::Text(QStringLiteral("O'Brien")),
                                    Value::Double(249.95), Value::Date(QDate(2014, 3, 14)),
                                    Value::Null()};
    EXPECT_EQ(BuildInsertStatement(QStringLiteral("ORDERS"), row).text,
              QStringLiteral("INSERT INTO \"ORDERS\" VALUES('1001', 'O''Brien', '249.95', "
                             "'3/14/2014', NULL)"));
}

TEST(InsertStatement, NullsFirstLastAndEverywhere) {
    const QString t = QStringLiteral("T");
    EXPECT_EQ(BuildInsertStatement(t, {Value::Null(), Value::Integer(2)}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES(NULL, '2')"));
    EXPECT_EQ(BuildInsertStatement(t, {Value::Integer(1), Value::Null()}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES('1', NULL)"));
    EXPECT_EQ(BuildInsertStatement(t, {Value::Null(), Value::Null(), Value::Null()}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES(NULL, NULL, NULL)"));
    EXPECT_EQ(BuildInsertStatement(t, {Value::Null()}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES(NULL)"));
    EXPECT_EQ(BuildInsertStatement(t, {Value::Integer(0)}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES('0')"));
}

TEST(InsertStatement, EmptyTextAndEmptyBytesAreNull) {
    EXPECT_EQ(BuildInsertStatement(QStringLiteral("T"),
                                   {Value::Text(QString()), Value::Text(QStringLiteral("")),
                                    Value::Bytes(QByteArray())})
                  .text,
              QStringLiteral("INSERT INTO \"T\" VALUES(NULL, NULL, NULL)"));
}

TEST(InsertStatement, QuotesAreDoubledAndEverythingElseKept) {
    const QString t = QStringLiteral("T");
    EXPECT_EQ(BuildInsertStatement(t, {Value::Text(QStringLiteral("'"))}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES('''')"));
    EXPECT_EQ(BuildInsertStatement(t, {Value::Text(QStringLiteral("''x'"))}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES('''''x''')"));
    const QString raw = QStringLiteral("a \"b\" c\\d\\\ne\r\nf\tg ü €");
    EXPECT_EQ(BuildInsertStatement(t, {Value::Text(raw)}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES('") + raw + QStringLiteral("')"));
    // A value that looks like the builder's own separators stays a value.
    EXPECT_EQ(BuildInsertStatement(t, {Value::Text(QStringLiteral("', NULL, '")),
                                       Value::Text(QStringLiteral(", '"))})
                  .text,
              QStringLiteral("INSERT INTO \"T\" VALUES(''', NULL, ''', ', ''')"));
}

TEST(InsertStatement, BuilderIsReusedRowAfterRow) {
    InsertStatement statement(QStringLiteral("T"));
    statement.Begin();
    statement.AddValue(QStringLiteral("a long first row value"));
    statement.AddValue(QString());
    EXPECT_EQ(statement.Finish(),
              QStringLiteral("INSERT INTO \"T\" VALUES('a long first row value', NULL)"));
    statement.Begin();
    statement.AddValue(QString());
    statement.AddValue(QStringLiteral("b"));
    EXPECT_EQ(statement.Finish(), QStringLiteral("INSERT INTO \"T\" VALUES(NULL, 'b')"));
}

TEST(InsertStatement, RefusesTableNameHoldingADoubleQuote) {
    EXPECT_THROW(InsertStatement(QStringLiteral("T\" VALUES('x');--")), Failure);
}

TEST(InsertStatement, ValuesWhoseLiteralOracleRefusesAreBoundTheRestStayLiterals) {
    const QByteArray picture(2001, '\x7f');
    const QByteArray shortBytes(2000, '\x01');   // its hex literal: 4,000 characters
    const QString chinese(1500, QChar(0x4E2D));  // 4,500 bytes in UTF-8
    const QString umlauts(2000, QChar(0xFC));    // 4,000 bytes in UTF-8: still a literal
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(1001);  // 4,004 bytes
    const InsertRow row = BuildInsertStatement(
        QStringLiteral("T"),
        {Value::Bytes(picture), Value::Integer(1), Value::Null(), Value::Text(chinese),
         Value::Text(umlauts), Value::Bytes(shortBytes), Value::Text(emoji)});
    EXPECT_EQ(row.text, QStringLiteral("INSERT INTO \"T\" VALUES(?, '1', NULL, ?, '") + umlauts +
                            QStringLiteral("', '") +
                            QString::fromLatin1(shortBytes.toHex().toUpper()) +
                            QStringLiteral("', ?)"));
    EXPECT_EQ(row.boundValues, (std::vector<Value>{Value::Bytes(picture), Value::Text(chinese),
                                                   Value::Text(emoji)}));
    EXPECT_EQ(BuildInsertStatement(QStringLiteral("T"), {Value::Text(QString(4001, u'x'))}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES(?)"));
    EXPECT_TRUE(BuildInsertStatement(QStringLiteral("T"), {Value::Text(emoji.left(2000))})
                    .boundValues.empty());

    // Every bound byte value (over 2,000 bytes: LONG RAW data) goes after the other bound
    // values, named in a column list; rows where nothing is bound after one keep the plain form.
    const QByteArray longPicture(4001, '\x02');
    const std::vector<QString> names = {"Pic", "Id", "Memo", "Small", "Pic2"};
    const InsertRow reordered =
        BuildInsertStatement(QStringLiteral("T"),
                             {Value::Bytes(longPicture), Value::Integer(1), Value::Text(chinese),
                              Value::Bytes(picture), Value::Bytes(longPicture + 'x')},
                             names);
    EXPECT_EQ(reordered.text, QStringLiteral("INSERT INTO \"T\" (\"Id\", \"Memo\", \"Pic\", "
                                             "\"Small\", \"Pic2\") VALUES('1', ?, ?, ?, ?)"));
    EXPECT_EQ(reordered.boundValues,
              (std::vector<Value>{Value::Text(chinese), Value::Bytes(longPicture),
                                  Value::Bytes(picture), Value::Bytes(longPicture + 'x')}));
    const QByteArray picture3000(3000, '\x03');
    const std::vector<Value> memoFirst = {Value::Text(chinese), Value::Bytes(picture3000)};
    EXPECT_EQ(BuildInsertStatement(QStringLiteral("T"), memoFirst, {"M", "P"}).text,
              QStringLiteral("INSERT INTO \"T\" VALUES(?, ?)"));
    const std::vector<Value> pictureFirst = {Value::Bytes(picture3000), Value::Text(chinese)};
    EXPECT_EQ(BuildInsertStatement(QStringLiteral("T"), pictureFirst, {"P", "M"}).text,
              QStringLiteral("INSERT INTO \"T\" (\"M\", \"P\") VALUES(?, ?)"));
    EXPECT_EQ(BuildInsertStatement(QStringLiteral("T"), pictureFirst).text,
              QStringLiteral("INSERT INTO \"T\" VALUES(?, ?)"));
    // A text over 4,000 bytes as bound beside a bound picture: Oracle refuses the pair
    // (ORA-22295), and no NVARCHAR2(2000) column holds the text; the row is refused unsent.
    const InsertRow both = BuildInsertStatement(
        QStringLiteral("T"), {Value::Bytes(picture3000), Value::Text(QString(2001, QChar(0xFC)))},
        {"P", "Memo"});
    EXPECT_TRUE(both.refusal.contains(QStringLiteral("field Memo has 2001 characters")))
        << both.refusal.toStdString();
    EXPECT_TRUE(BuildInsertStatement(QStringLiteral("T"), {Value::Text(QString(2001, QChar(0xFC)))})
                    .refusal.isEmpty());  // alone, the server refuses it for its column
    // With the national character set UTF8, 1,334 CJK characters are over 4,000 bytes already.
    OracleDatabaseRules utf8;
    utf8.nationalCharacterSet = QStringLiteral("UTF8");
    const std::vector<Value> cjk = {Value::Bytes(picture3000), Value::Text(QString(1334, u'日'))};
    EXPECT_TRUE(BuildInsertStatement("T", cjk, {"P", "Memo"}, utf8)
                    .refusal.contains("1334 characters, over 4000 bytes in the national "
                                      "character set UTF8"));
    EXPECT_TRUE(BuildInsertStatement("T", cjk, {"P", "Memo"}).refusal.isEmpty());
    EXPECT_EQ(utf8.nationalTextRefusal(QString(1333, u'日')), QString());
    EXPECT_TRUE(reordered.refusal.isEmpty());

    // The next row starts with nothing bound.
    InsertStatement statement(QStringLiteral("T"));
    statement.Begin();
    statement.AddValue(Value::Bytes(picture));
    statement.Finish();
    statement.Begin();
    statement.AddValue(Value::Integer(2));
    EXPECT_EQ(statement.Finish(), QStringLiteral("INSERT INTO \"T\" VALUES('2')"));
    EXPECT_TRUE(statement.BoundValues().empty());
}

TEST(TableStatements, RefuseNamesLongerThanOracleTakesButNotOnTheParadoxSide) {
    const QString longest(64, QChar(0xFC));  // 128 bytes in UTF-8
    const QString tooLong = longest + u'x';
    EXPECT_EQ(DropTableStatement(longest), QStringLiteral("DROP TABLE \"") + longest + u'"');
    for (const auto& build : std::vector<std::function<void()>>{
             [&] { DropTableStatement(tooLong); }, [&] { InsertStatement statement(tooLong); },
             [&] {
                 BuildCreateTableStatement(QStringLiteral("T"), {{tooLong, adInteger}});
             }}) {
        try {
            build();
            ADD_FAILURE() << "a name of 129 bytes was accepted";
        } catch (const Failure& failure) {
            EXPECT_TRUE(failure.description().contains(tooLong));
            EXPECT_TRUE(failure.description().contains(QStringLiteral("129 bytes")))
                << failure.description().toStdString();
        }
    }
    EXPECT_EQ(SelectAllStatement(tooLong), QStringLiteral("SELECT * FROM \"") + tooLong + u'"');
}

// The failure a builder raises, or an empty text.
QString RefusalOf(const std::function<void()>& build) {
    try {
        build();
    } catch (const Failure& failure) {
        return failure.description();
    }
    return {};
}

TEST(TableStatements, FollowTheDatabaseCharacterSetAndNameLimits) {
    OracleDatabaseRules windows;
    windows.characterSet = OracleCharacterSet(QStringLiteral("WE8MSWIN1252"));
    // Texts outside ASCII are bound, whether the set holds them or not; ASCII stays literal.
    const InsertRow row = BuildInsertStatement(
        QStringLiteral("T"),
        {Value::Text(QStringLiteral("Ærø")), Value::Text(QStringLiteral("Straße")),
         Value::Text(QStringLiteral("日本")), Value::Text(QStringLiteral("plain")),
         Value::Integer(7)},
        {}, windows);
    EXPECT_EQ(row.text, QStringLiteral("INSERT INTO \"T\" VALUES(?, ?, ?, 'plain', '7')"));
    EXPECT_EQ(row.boundValues.size(), 3u);
    EXPECT_TRUE(BuildInsertStatement(QStringLiteral("T"), {Value::Text(QStringLiteral("Ærø"))})
                    .boundValues.empty());  // a Unicode database keeps the literal
    OracleDatabaseRules unknown;
    unknown.characterSet = OracleCharacterSet(QStringLiteral("WE8DEC"));
    EXPECT_EQ(
        BuildInsertStatement(QStringLiteral("T"), {Value::Text(QStringLiteral("é"))}, {}, unknown)
            .text,
        QStringLiteral("INSERT INTO \"T\" VALUES(?)"));

    // A name with a character the set lacks is refused, naming the character and the set.
    const QString refusal =
        RefusalOf([&] { CreateTableStatement(QStringLiteral("日本"), windows); });
    EXPECT_TRUE(refusal.contains(QStringLiteral("\"日\" (U+65E5)")) &&
                refusal.contains(QStringLiteral("WE8MSWIN1252")))
        << refusal.toStdString();
    EXPECT_EQ(RefusalOf([&] {
                  CreateTableStatement(QStringLiteral("T"), windows)
                      .AddColumn(QStringLiteral("Größe"), QStringLiteral("INT"));
              }),
              QString());
    EXPECT_FALSE(
        RefusalOf([&] {
            BuildCreateTableStatement(QStringLiteral("T"), {{QStringLiteral("名"), 3}}, windows);
        }).isEmpty());

    // A server before 12.2 says 30: a 40-byte name is refused before anything is built.
    OracleDatabaseRules old = windows;
    old.longestTableName = 30;
    old.longestColumnName = 30;
    const QString forty(40, u'N');
    EXPECT_TRUE(RefusalOf([&] { CreateTableStatement(forty, old); })
                    .contains(QStringLiteral("40 bytes long in the database character set "
                                             "WE8MSWIN1252, and a name on this Oracle server "
                                             "holds at most 30 bytes")));
    EXPECT_FALSE(RefusalOf([&] { InsertStatement(QStringLiteral("T"), {forty}, old); }).isEmpty());
    // Counted in the set's bytes: 30 characters of "ß" are 30 bytes in WE8MSWIN1252, 60 in UTF-8.
    const QString sharp(30, QChar(0xDF));
    EXPECT_EQ(RefusalOf([&] { DropTableStatement(sharp, old); }), QString());
    OracleDatabaseRules oldUnicode;
    oldUnicode.longestTableName = 30;
    EXPECT_TRUE(RefusalOf([&] {
                    DropTableStatement(sharp, oldUnicode);
                }).contains(QStringLiteral("60 bytes")));
}

using paradox::FieldType;

// One field of every Paradox type, in the table's order.
const std::vector<NativeField> kEveryType = {
    {QStringLiteral("Name"), FieldType::Alpha, 40},
    {QStringLiteral("Notes"), FieldType::Memo, 11},
    {QStringLiteral("Rtf"), FieldType::FormattedMemo, 10},
    {QStringLiteral("Photo"), FieldType::Graphic, 10},
    {QStringLiteral("Tag"), FieldType::Bytes, 16},
    {QStringLiteral("Small"), FieldType::Short, 2},
    {QStringLiteral("Id"), FieldType::AutoIncrement, 4},
    {QStringLiteral("Price"), FieldType::Money, 8},
    {QStringLiteral("Exact"), FieldType::Bcd, 18},
    {QStringLiteral("Paid"), FieldType::Logical, 1},
    {QStringLiteral("Day"), FieldType::Date, 4},
    {QStringLiteral("At"), FieldType::Time, 4},
    {QStringLiteral("Stamp"), FieldType::Timestamp, 8},
};

TEST(NativeStatements, EveryParadoxTypeGetsAnOracleTypeThatKeepsItsValues) {
    const QString create = BuildNativeCreateTable(QStringLiteral("All"), kEveryType);
    EXPECT_EQ(create,
              "CREATE TABLE \"All\"(\"Name\" NVARCHAR2(40), \"Notes\" NCLOB, \"Rtf\" BLOB, "
              "\"Photo\" BLOB, \"Tag\" RAW(16), \"Small\" NUMBER(5), \"Id\" NUMBER(10), \"Price\" "
              "BINARY_DOUBLE, \"Exact\" NUMBER(32,18), \"Paid\" NUMBER(1) CHECK (\"Paid\" IN (0, "
              "1)), \"Day\" DATE, \"At\" INTERVAL DAY TO SECOND(3), \"Stamp\" TIMESTAMP(3))");
    EXPECT_EQ(OracleFormProblem(create), QString());
    EXPECT_NE(OracleFormProblem(QStringLiteral("CREATE TABLE \"T\"(\"A\" NUMBER(39,2))")),
              QString());
    EXPECT_NE(OracleFormProblem(QStringLiteral("CREATE TABLE \"T\"(\"A\" RAW(2001))")), QString());
    EXPECT_NE(OracleFormProblem(QStringLiteral("SELECT TO_BINARY_DOUBLE('0.17')")), QString());
}

TEST(NativeStatements, ValuesArriveExactlyWhateverTheSessionsSettings) {
    const NativeInsertLayout layout = BuildNativeInsertLayout(QStringLiteral("All"), kEveryType);
    const std::vector<Value> row = {
        Value::Text(QStringLiteral("it's")),
        Value::Text(QString(100000, u'm')),
        Value::Bytes(QByteArray(3000, 'r')),
        Value::Null(),
        Value::Bytes(QByteArray("\x0a\x1b", 2)),
        Value::Integer(-32767),
        Value::Integer(7),
        Value::Double(103945.00000000003),
        Value::Text(QStringLiteral("-0.122999999999999998")),
        Value::Boolean(true),
        Value::Date(QDate(1920, 9, 8)),
        Value::Time(QTime(20, 9, 17, 928)),
        Value::DateTime(QDateTime(QDate(2028, 7, 19), QTime(10, 53, 53, 123), QTimeZone::utc())),
    };
    const InsertRow insert = BuildNativeInsert(layout, row);
    EXPECT_EQ(
        insert.text,
        "INSERT INTO \"All\" (\"Name\", \"Tag\", \"Small\", \"Id\", \"Price\", \"Exact\", "
        "\"Paid\", \"Day\", \"At\", \"Stamp\", \"Notes\", \"Rtf\", \"Photo\") VALUES('it''s', "
        "HEXTORAW('0A1B'), -32767, 7, TO_BINARY_DOUBLE('10394500000000003E-11'), "
        "-0.122999999999999998, 1, DATE '1920-09-08', INTERVAL '0 20:09:17.928' DAY TO "
        "SECOND(3), TIMESTAMP '2028-07-19 10:53:53.123', ?, ?, NULL)");
    EXPECT_EQ(insert.boundValues, (std::vector<Value>{row[1], row[2]}));  // LOB columns last
    EXPECT_EQ(OracleFormProblem(insert.text), QString());
    EXPECT_EQ(
        BuildNativeBulkInsert(layout).section(QStringLiteral("VALUES"), 1),
        "(?, HEXTORAW(?), ?, ?, TO_BINARY_DOUBLE(?), TO_NUMBER(?), ?, TO_DATE(?, 'YYYY-MM-DD'), "
        "TO_DSINTERVAL(?), TO_TIMESTAMP(?, 'YYYY-MM-DD HH24:MI:SS.FF3'), ?, ?, ?)");
    EXPECT_EQ(NativeBoundText(layout.columns[5], row[8]), "-122999999999999998E-18");
    EXPECT_THROW(NativeBoundText(layout.columns[5], Value::Text(QStringLiteral("1.2.3"))), Failure);
    EXPECT_THROW(NativeLiteral(layout.columns[2], Value::Text(QStringLiteral("7"))), Failure);
    // Every double reads back from its text as the very same double, the extremes too.
    for (const double d :
         {0.17, -200.0, 1e300, 4.9e-324, 134.85000000000002, 1e17, 123456789.0,
          std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity()}) {
        const std::string text = ExactDoubleText(d).toStdString();
        EXPECT_EQ(text.find_first_of(".,"), std::string::npos) << text;
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, d) << text;
    }
    EXPECT_EQ(ExactDoubleText(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(ExactDoubleText(std::nan("")), "NaN");
}

TEST(NativeStatements, KeysAndIndexesAreNamedAfterTheirTableWithinTheNameLimit) {
    EXPECT_EQ(
        PrimaryKeyStatement(QStringLiteral("Orders"),
                            {QStringLiteral("Order No"), QStringLiteral("Line")}),
        "ALTER TABLE \"Orders\" ADD CONSTRAINT \"Orders_PK\" PRIMARY KEY (\"Order No\", \"Line\")");
    EXPECT_EQ(CreateIndexStatement(QStringLiteral("Orders"), QStringLiteral("XG0"),
                                   {QStringLiteral("Day")}),
              "CREATE INDEX \"Orders_XG0\" ON \"Orders\" (\"Day\")");
    EXPECT_EQ(
        OffendingKeysQuery(QStringLiteral("T"), {QStringLiteral("A"), QStringLiteral("B")}),
        "SELECT \"A\", \"B\", COUNT(*) FROM \"T\" GROUP BY \"A\", \"B\" HAVING COUNT(*) > 1 OR "
        "\"A\" IS NULL OR \"B\" IS NULL ORDER BY COUNT(*) DESC");
    OracleDatabaseRules old;
    old.longestTableName = 30;
    const QString one = NativeObjectName(QStringLiteral("CUSTOMERS_OF_THE_NORTHERN_AREA"),
                                         QStringLiteral("_PK"), old);
    const QString two = NativeObjectName(QStringLiteral("CUSTOMERS_OF_THE_NORTHERN_AREA2"),
                                         QStringLiteral("_PK"), old);
    EXPECT_EQ(one.size(), 30);
    EXPECT_TRUE(one.startsWith(QStringLiteral("CUSTOMERS_OF_THE_NO")) &&
                one.endsWith(QStringLiteral("_PK")));
    EXPECT_NE(one, two);
    EXPECT_EQ(NativeObjectName(QStringLiteral("Ärger"), QStringLiteral("_X01"), old), "Ärger_X01");
}

}  // namespace
}  // namespace quorvex::test
