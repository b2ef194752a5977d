#include "data/core/ado_types.h"
#include "data/core/failure.h"
#include "transfer/create_table_statement.h"
#include "transfer/insert_statement.h"
#include "transfer/ledger_statements.h"
#include "transfer/migration_ledger.h"
#include "transfer/quoted_name.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

#include "support/oracle_statement_rules.h"

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
          LatestLedgerEntriesQuery()}) {
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
    EXPECT_EQ(StandingOf(&entry, path, 12, 7).state, State::Unfinished);  // read in part
    EXPECT_EQ(StandingOf(&entry, folder.filePath("GONE.DB"), 10, 7).state, State::SourceChanged);
    entry.outcome = kLedgerSending;
    EXPECT_EQ(StandingOf(&entry, path, 10, 7).state, State::Unfinished);
    entry.fileSize = 4;
    EXPECT_EQ(StandingOf(&entry, path, 10, 7).state, State::SourceChanged);
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

}  // namespace
}  // namespace quorvex::test
