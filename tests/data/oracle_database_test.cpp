// What the program learns of an Oracle database (character sets, name limits) and how it reads a
// driver's diagnostics for a lost connection.

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "data/core/failure.h"
#include "data/oracle/odbc_failure.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

TEST(OracleCharacterSet, KnowsTheCommonSetsAndWhatTheyHold) {
    for (const char* name :
         {"US7ASCII", "WE8MSWIN1252", "WE8ISO8859P1", "WE8ISO8859P15", "EE8MSWIN1250",
          "EE8ISO8859P2", "CL8MSWIN1251", "CL8ISO8859P5", "EL8MSWIN1253", "EL8ISO8859P7",
          "JA16SJIS", "ZHS16GBK", "KO16MSWIN949", "ZHT16MSWIN950"}) {
        const OracleCharacterSet set{QLatin1String(name)};
        EXPECT_TRUE(set.isKnown() && !set.isUnicode()) << name;
    }
    const OracleCharacterSet windows(QStringLiteral(" we8mswin1252 "));
    EXPECT_EQ(windows.name(), QStringLiteral("WE8MSWIN1252"));
    EXPECT_EQ(windows.firstCharacterOutside(QStringLiteral("Ærø Straße 5 €")), std::nullopt);
    EXPECT_EQ(windows.firstCharacterOutside(QStringLiteral("Straße日本")), U'日');
    EXPECT_EQ(windows.byteCount(QStringLiteral("Straße")), 6);
    EXPECT_EQ(OracleCharacterSet(QStringLiteral("US7ASCII")).firstCharacterOutside("café"), U'é');
    EXPECT_EQ(OracleCharacterSet(QStringLiteral("JA16SJISTILDE")).byteCount("日本"), 4);
    // A name must come back as itself: iconv maps the wave dash into code page 932 one way only.
    const OracleCharacterSet tilde(QStringLiteral("JA16SJISTILDE"));
    EXPECT_EQ(tilde.firstCharacterOutside(QStringLiteral("A\u301CB")), U'\u301C');
    EXPECT_EQ(tilde.firstCharacterOutside(QStringLiteral("A\uFF5EB")), std::nullopt);
    // JA16SJIS is not code page 932: only ASCII is known to arrive, wave dash or not.
    const OracleCharacterSet sjis(QStringLiteral("JA16SJIS"));
    EXPECT_EQ(sjis.firstCharacterOutside(QStringLiteral("PARTS\u301C2")), U'\u301C');
    EXPECT_EQ(sjis.firstCharacterOutside(QStringLiteral("PARTS")), std::nullopt);
    EXPECT_TRUE(sjis.onlyAsciiKnown() && !tilde.onlyAsciiKnown());
    EXPECT_EQ(OracleCharacterSet(QStringLiteral("KO16MSWIN949")).firstCharacterOutside("한국"),
              std::nullopt);
    EXPECT_EQ(OracleCharacterSet(QStringLiteral("CL8MSWIN1251")).firstCharacterOutside("Ærø"),
              U'Æ');

    // Unicode: everything held; UTF8 is CESU-8, six bytes for a character beyond the BMP.
    const QString emoji = QStringLiteral("a\U0001F600");
    EXPECT_EQ(OracleCharacterSet().byteCount(emoji), 5);
    EXPECT_EQ(OracleCharacterSet(QStringLiteral("UTF8")).byteCount(emoji), 7);
    EXPECT_TRUE(OracleCharacterSet(QStringLiteral("UTF8")).isUnicode());
    // A set this program cannot check: not Unicode, nothing refused, UTF-8's byte count.
    const OracleCharacterSet unknown(QStringLiteral("WE8DEC"));
    EXPECT_FALSE(unknown.isKnown() || unknown.isUnicode());
    EXPECT_EQ(unknown.firstCharacterOutside(QStringLiteral("日本")), std::nullopt);
    EXPECT_EQ(unknown.byteCount(QStringLiteral("日本")), 6);
    EXPECT_EQ(DescribeCharacter(U'ß'), QStringLiteral("\"ß\" (U+00DF)"));
}

// Diagnostic records as each driver gives them. Oracle's driver: traces of its messages (the
// "[Oracle][ODBC][Ora]" prefix, the SQLSTATE HY000 or S1000 and the server's own text, which for
// ORA-03113 adds the process and session). psqlODBC: recorded from the test server.
TEST(LostConnectionRule, ReadsBothDriversRecords) {
    const auto lost = [](const char* state, int native, const QString& message) {
        return ShowsLostConnection({{QLatin1String(state), native, message}});
    };
    EXPECT_TRUE(lost("HY000", 3113,
                     "[Oracle][ODBC][Ora]ORA-03113: end-of-file on communication channel\n"
                     "Process ID: 8904\nSession ID: 790 Serial number: 35991"));
    EXPECT_TRUE(lost("S1000", 3114, "[Oracle][ODBC][Ora]ORA-03114: not connected to ORACLE"));
    EXPECT_TRUE(lost("HY000", 3135, "[Oracle][ODBC][Ora]ORA-03135: connection lost contact"));
    EXPECT_TRUE(lost("HY000", 28, "[Oracle][ODBC][Ora]ORA-00028: your session has been killed"));
    EXPECT_TRUE(lost("HY000", 1092,
                     "[Oracle][ODBC][Ora]ORA-01092: ORACLE instance terminated. "
                     "Disconnection forced"));
    EXPECT_TRUE(lost("HY000", 12537, "[Oracle][ODBC][Ora]ORA-12537: TNS:connection closed"));
    for (const int code : {22, 31, 45, 378, 602, 603, 609, 1041, 1043, 3122, 12583, 12608, 12609,
                           27146, 28511, 56600}) {
        EXPECT_TRUE(lost(
            "HY000", code,
            QStringLiteral("[Oracle][ODBC][Ora]ORA-%1: ...").arg(code, 5, 10, QLatin1Char('0'))))
            << code;
    }
    EXPECT_FALSE(lost("HY000", 12899,
                      "[Oracle][ODBC][Ora]ORA-12899: value too large for column "
                      "\"SCOTT\".\"MEMO\".\"Memo\" (actual: 2001, maximum: 2000)"));
    EXPECT_FALSE(lost("HY000", 12704, "[Oracle][ODBC][Ora]ORA-12704: character set mismatch"));
    EXPECT_FALSE(lost("23000", 1, "[Oracle][ODBC][Ora]ORA-00001: unique constraint violated"));

    EXPECT_TRUE(lost("08S01", 35, "SQLExecDirect unable due to the connection lost"));
    EXPECT_FALSE(lost(
        "42601", 1, "ERROR: syntax error at or near \"RENAME\";\nError while executing the query"));
    EXPECT_FALSE(lost("HY000", 1, "Could not convert binary other than LO type"));
    // psqlODBC's first record of a stopped server is no 08 (the driver then says the connection
    // is dead, which the rule also reads); and its own numbers are no Oracle codes.
    EXPECT_FALSE(lost("57P01", 35,
                      "FATAL: terminating connection due to administrator command;\n"
                      "The connection has been lost"));
    EXPECT_FALSE(lost("HY092", 28, "Invalid attribute/option identifier"));
    EXPECT_TRUE(ShowsLostConnection(
        {{"HY000", 1, "an ordinary refusal"},
         {"HY000", 3113, "[Oracle][ODBC][Ora]ORA-03113: end-of-file on communication channel"}}));
}

TEST(OracleDatabaseRules, AreReadFromTheServerAndItsDriver) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    OracleDatabaseRules rules;
    ReadOracleDatabaseRules(connection, rules);
    // psqlODBC says 63, the most the test server keeps of a name.
    EXPECT_EQ(rules.longestTableName, 63);
    EXPECT_EQ(rules.longestColumnName, 63);
    EXPECT_EQ(rules.characterSet.name(), QStringLiteral("AL32UTF8"));
    EXPECT_EQ(rules.nationalCharacterSet, QStringLiteral("AL16UTF16"));
    EXPECT_FALSE(rules.bindsNonAsciiTexts());
    {
        const DeclaredCharacterSet windows(QStringLiteral("WE8MSWIN1252"));
        ReadOracleDatabaseRules(connection, rules);
        EXPECT_EQ(rules.characterSet.name(), QStringLiteral("WE8MSWIN1252"));
        EXPECT_TRUE(rules.bindsNonAsciiTexts());
    }
    // A server that refuses the query: the limits are read all the same.
    ServerExecute(
        QStringLiteral("CREATE OR REPLACE VIEW nls_database_parameters AS "
                       "SELECT 'NLS_CHARACTERSET'::varchar(128) AS parameter, "
                       "(1 / 0)::varchar(64) AS value"));
    OracleDatabaseRules refused;
    refused.longestTableName = 1;
    EXPECT_THROW(ReadOracleDatabaseRules(connection, refused), Failure);
    const DeclaredCharacterSet restored(QStringLiteral("AL32UTF8"));
    EXPECT_EQ(refused.longestTableName, 63);
    EXPECT_TRUE(refused.characterSet.isUnicode());
}

}  // namespace
}  // namespace quorvex::test
