#include "data/core/ado_types.h"
#include "data/access/connection.h"
#include "data/core/failure.h"
#include "support/failure_of.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

class RecordsetOnServer : public ::testing::Test {
  protected:
    void SetUp() override {
        DropAllTables();
        connection.SetCursorLocation(adUseClient);
        connection.Open(TestServerConnectionString());
    }

    Connection connection;
};

TEST_F(RecordsetOnServer, AClientCursorKnowsTheExactCountBeforeTheFirstRow) {
    ServerExecute(QStringLiteral("CREATE TABLE \"T\" (\"N\" INT)"));
    ServerExecute(QStringLiteral("INSERT INTO \"T\" SELECT generate_series(1, 1234)"));
    Recordset rows;
    rows.Open(QStringLiteral("SELECT \"N\" FROM \"T\" ORDER BY \"N\""), connection);
    ASSERT_EQ(rows.RecordCount(), 1234);
    for (int expected = 1; expected <= 1234; ++expected) {
        ASSERT_FALSE(rows.Eof());
        ASSERT_EQ(rows.FieldValue(0), Value::Integer(expected));
        rows.MoveNext();
    }
    EXPECT_TRUE(rows.Eof());
    EXPECT_EQ(rows.RecordCount(), 1234);
}

TEST_F(RecordsetOnServer, TheOracleTableListingComesBackWithNamesInTheServersCase) {
    ServerExecute(QStringLiteral("CREATE TABLE \"CUSTOMERS\" (\"A\" INT)"));
    ServerExecute(QStringLiteral("CREATE TABLE \"Orders 2015\" (\"A\" INT)"));
    ServerExecute(QStringLiteral("CREATE TABLE lower_case (a INT)"));
    Recordset tables;
    tables.Open(QStringLiteral("SELECT table_name FROM user_tables"), connection);
    ASSERT_EQ(tables.RecordCount(), 3);
    EXPECT_EQ(tables.FieldName(0), QStringLiteral("table_name"));
    EXPECT_EQ(tables.FieldType(0), adVarWChar);
    QStringList names;
    while (!tables.Eof()) {
        names.append(tables.FieldValue(0).toText());
        tables.MoveNext();
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("CUSTOMERS"), QStringLiteral("Orders 2015"),
                                  QStringLiteral("lower_case")}));
}

TEST_F(RecordsetOnServer, AnEmptyResultHasItsFieldsAndNoRows) {
    Recordset tables;
    tables.Open(QStringLiteral("SELECT table_name FROM user_tables"), connection);
    EXPECT_EQ(tables.RecordCount(), 0);
    EXPECT_TRUE(tables.Eof());
    EXPECT_EQ(tables.FieldCount(), 1);
    EXPECT_FALSE(FailureOf([&] { tables.FieldValue(0); }).isEmpty());
    EXPECT_FALSE(FailureOf([&] { tables.MoveNext(); }).isEmpty());
}

class TypedColumns : public RecordsetOnServer {
  protected:
    void SetUp() override {
        RecordsetOnServer::SetUp();
        ServerExecute(QStringLiteral(
            "CREATE TABLE \"TYPES\" (\"ID\" INT, \"NAME\" VARCHAR(40), \"MEMO\" TEXT, "
            "\"CODE\" CHAR(3), \"PRICE\" NUMERIC(10,2), \"COUNT\" NUMERIC(18,0), "
            "\"BIG\" BIGINT, \"SMALL\" SMALLINT, \"RATIO\" DOUBLE PRECISION, \"HALF\" REAL, "
            "\"DAY\" DATE, \"WHEN\" TIMESTAMP, \"CLOCK\" TIME, \"RAW\" BYTEA, \"PICTURE\" BLOB)"));
        ServerExecute(QStringLiteral(
            "INSERT INTO \"TYPES\" VALUES (1, 'O''Brien \"q\" \u00e4\u00df\u6771\U0001F600', "
            "'line one' || chr(10) || 'line two', 'ab', 12345678.95, 123456789012345678, "
            "9000000000, -7, 0.1, 2.5, '2015-02-19', '2015-02-19 13:45:07.25', '23:59:58', "
            "'\\x00ff41'::bytea, '\\x4142'::bytea)"));
        ServerExecute(QStringLiteral("INSERT INTO \"TYPES\" (\"ID\") VALUES (2)"));
    }
};

TEST_F(TypedColumns, FieldsCarryTheirNamesAndAdoTypeCodes) {
    Recordset rows;
    rows.Open(QStringLiteral("SELECT * FROM \"TYPES\" ORDER BY \"ID\""), connection);
    ASSERT_EQ(rows.FieldCount(), 15);
    const QStringList names = {"ID",    "NAME", "MEMO", "CODE", "PRICE", "COUNT", "BIG",    "SMALL",
                               "RATIO", "HALF", "DAY",  "WHEN", "CLOCK", "RAW",   "PICTURE"};
    const QList<int> types = {adInteger, adVarWChar,      adLongVarWChar, adWChar,
                              adNumeric, adNumeric,       adBigInt,       adSmallInt,
                              adDouble,  adSingle,        adDBDate,       adDBTimeStamp,
                              adDBTime,  adLongVarBinary, adLongVarBinary};
    for (int i = 0; i < rows.FieldCount(); ++i) {
        EXPECT_EQ(rows.FieldName(i), names[i]);
        EXPECT_EQ(rows.FieldType(i), types[i]) << names[i].toStdString();
    }
}

TEST_F(TypedColumns, ValuesArriveWithTheirKindsAndExactContents) {
    Recordset rows;
    rows.Open(QStringLiteral("SELECT * FROM \"TYPES\" ORDER BY \"ID\""), connection);
    ASSERT_EQ(rows.RecordCount(), 2);
    EXPECT_EQ(rows.FieldValue(0), Value::Integer(1));
    EXPECT_EQ(rows.FieldValue(1),
              Value::Text(QStringLiteral("O'Brien \"q\" \u00e4\u00df\u6771\U0001F600")));
    EXPECT_EQ(rows.FieldValue(2), Value::Text(QStringLiteral("line one\nline two")));
    EXPECT_EQ(rows.FieldValue(3), Value::Text(QStringLiteral("ab ")));
    EXPECT_EQ(rows.FieldValue(4), Value::Double(12345678.95));
    // A whole-number NUMERIC keeps every digit.
    EXPECT_EQ(rows.FieldValue(5), Value::Integer(123456789012345678LL));
    EXPECT_EQ(rows.FieldValue(6), Value::Integer(9000000000LL));
    EXPECT_EQ(rows.FieldValue(7), Value::Integer(-7));
    EXPECT_EQ(rows.FieldValue(8), Value::Double(0.1));
    EXPECT_EQ(rows.FieldValue(9), Value::Double(2.5));
    EXPECT_EQ(rows.FieldValue(10), Value::Date(QDate(2015, 2, 19)));
    EXPECT_EQ(rows.FieldValue(11),
              Value::DateTime(QDateTime(QDate(2015, 2, 19), QTime(13, 45, 7, 250))));
    EXPECT_EQ(rows.FieldValue(12), Value::Time(QTime(23, 59, 58)));
    EXPECT_EQ(rows.FieldValue(13), Value::Bytes(QByteArray("\x00\xff\x41", 3)));
    EXPECT_EQ(rows.FieldValue(14), Value::Bytes(QByteArray("AB")));
}

TEST_F(TypedColumns, NullsAreNullWhateverTheColumnsType) {
    Recordset rows;
    rows.Open(QStringLiteral("SELECT * FROM \"TYPES\" ORDER BY \"ID\""), connection);
    rows.MoveNext();
    ASSERT_FALSE(rows.Eof());
    EXPECT_EQ(rows.FieldValue(0), Value::Integer(2));
    for (int i = 1; i < rows.FieldCount(); ++i) {
        EXPECT_TRUE(rows.FieldValue(i).isNull()) << rows.FieldName(i).toStdString();
    }
    rows.MoveNext();
    EXPECT_TRUE(rows.Eof());
}

TEST_F(RecordsetOnServer, AFieldIndexOutOfRangeFailsAndTheRowStays) {
    Recordset rows;
    rows.Open(QStringLiteral("SELECT 1 AS \"ONE\""), connection);
    EXPECT_FALSE(FailureOf([&] { rows.FieldValue(1); }).isEmpty());
    EXPECT_FALSE(FailureOf([&] { rows.FieldValue(-1); }).isEmpty());
    EXPECT_FALSE(FailureOf([&] { rows.FieldName(1); }).isEmpty());
    EXPECT_FALSE(FailureOf([&] { rows.FieldType(7); }).isEmpty());
    EXPECT_EQ(rows.FieldValue(0), Value::Integer(1));
}

TEST_F(RecordsetOnServer, ARefusedQueryFailsWithTheServersMessageAndLeavesTheRecordsetClosed) {
    Recordset rows;
    EXPECT_EQ(FailureOf([&] { rows.Open(QStringLiteral("SELECT * FROM \"NOPE\""), connection); }),
              QStringLiteral("ERROR: relation \"NOPE\" does not exist;\n"
                             "Error while executing the query"));
    EXPECT_FALSE(rows.IsOpen());
    EXPECT_EQ(FailureOf([&] { rows.RecordCount(); }), QStringLiteral("The recordset is not open."));
}

TEST_F(RecordsetOnServer, AClosedRecordsetRefusesEveryReadAndCanBeOpenedAgain) {
    Recordset rows;
    rows.Open(QStringLiteral("SELECT 1"), connection);
    EXPECT_FALSE(FailureOf([&] { rows.Open(QStringLiteral("SELECT 2"), connection); }).isEmpty());
    rows.Close();
    EXPECT_FALSE(rows.IsOpen());
    EXPECT_FALSE(FailureOf([&] { rows.FieldValue(0); }).isEmpty());
    EXPECT_FALSE(FailureOf([&] { rows.MoveNext(); }).isEmpty());
    EXPECT_FALSE(FailureOf([&] { rows.Eof(); }).isEmpty());
    rows.Open(QStringLiteral("SELECT 2"), connection);
    EXPECT_EQ(rows.FieldValue(0), Value::Integer(2));
    rows.Close();
    Connection closed;
    EXPECT_EQ(FailureOf([&] { rows.Open(QStringLiteral("SELECT 1"), closed); }),
              QStringLiteral("The connection is not open."));
}

TEST_F(RecordsetOnServer, ClientRowsStayReadableAfterTheConnectionCloses) {
    Recordset rows;
    rows.Open(QStringLiteral("SELECT 'kept' AS \"A\""), connection);
    connection.Close();
    EXPECT_EQ(rows.FieldValue(0), Value::Text(QStringLiteral("kept")));
}

TEST_F(RecordsetOnServer, AServerCursorReadsForwardWithAnUnknownCount) {
    Connection server;
    EXPECT_EQ(server.CursorLocation(), adUseServer);
    server.Open(TestServerConnectionString());
    Recordset rows;
    rows.Open(QStringLiteral("SELECT generate_series(1, 5) AS \"N\""), server);
    EXPECT_EQ(rows.RecordCount(), -1);
    EXPECT_EQ(rows.FieldName(0), QStringLiteral("N"));
    EXPECT_EQ(rows.FieldType(0), adInteger);
    QList<std::int64_t> seen;
    while (!rows.Eof()) {
        seen.append(rows.FieldValue(0).toInteger());
        rows.MoveNext();
    }
    EXPECT_EQ(seen, (QList<std::int64_t>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(FailureOf([&] { rows.MoveNext(); }).isEmpty());
    Recordset empty;
    empty.Open(QStringLiteral("SELECT table_name FROM user_tables"), server);
    EXPECT_TRUE(empty.Eof());
}

TEST_F(RecordsetOnServer, ClosingTheConnectionEndsAServerCursorCleanly) {
    auto server = std::make_unique<Connection>();
    server->Open(TestServerConnectionString());
    Recordset rows;
    rows.Open(QStringLiteral("SELECT generate_series(1, 3)"), *server);
    server->Close();
    EXPECT_TRUE(rows.Eof());
    EXPECT_EQ(FailureOf([&] { rows.FieldValue(0); }),
              QStringLiteral("The connection of this result was closed."));
    server.reset();  // the connection object goes before the recordset: nothing dangles
    rows.Close();
}

}  // namespace
}  // namespace quorvex::test
