#include "data/core/datatype.h"
#include "transfer/create_table_statement.h"

#include <gtest/gtest.h>

#include <map>

namespace quorvex::test {
namespace {

struct Expected {
    const char* name;
    const char* columnType;
};

// Every code with a name, its name and the Oracle column type a field of it becomes.
const std::map<qint16, Expected> kAllCodes = {
    {0, {"adEmpty", "NVARCHAR2(2000)"}},
    {2, {"adSmallInt", "INT"}},
    {3, {"adInteger", "INT"}},
    {4, {"adSingle", "INT"}},
    {5, {"adDouble", "FLOAT"}},
    {6, {"adCurrency", "NVARCHAR2(2000)"}},
    {7, {"adDate", "NVARCHAR2(2000)"}},
    {8, {"adBSTR", "NVARCHAR2(2000)"}},
    {9, {"adIDispatch", "NVARCHAR2(2000)"}},
    {10, {"adError", "NVARCHAR2(2000)"}},
    {11, {"adBoolean", "NVARCHAR2(2000)"}},
    {12, {"adVariant", "NVARCHAR2(2000)"}},
    {13, {"adIUnknown", "NVARCHAR2(2000)"}},
    {14, {"adDecimal", "DECIMAL"}},
    {16, {"adTinyInt", "INT"}},
    {17, {"adUnsignedTinyInt", "INT"}},
    {18, {"adUnsignedSmallInt", "INT"}},
    {19, {"adUnsignedInt", "INT"}},
    {20, {"adBigInt", "INT"}},
    {21, {"adUnsignedBigInt", "INT"}},
    {64, {"adFileTime", "NVARCHAR2(2000)"}},
    {72, {"adGUID", "NVARCHAR2(2000)"}},
    {128, {"adBinary", "NVARCHAR2(2000)"}},
    {129, {"adChar", "NVARCHAR2(2000)"}},
    {130, {"adWChar", "NVARCHAR2(2000)"}},
    {131, {"adNumeric", "INT"}},
    {132, {"adUserDefined", "NVARCHAR2(2000)"}},
    {133, {"adDBDate", "NVARCHAR2(2000)"}},
    {134, {"adDBTime", "NVARCHAR2(2000)"}},
    {135, {"adDBTimeStamp", "NVARCHAR2(2000)"}},
    {136, {"adChapter", "NVARCHAR2(2000)"}},
    {138, {"adPropVariant", "NVARCHAR2(2000)"}},
    {139, {"adVarNumeric", "INT"}},
    {200, {"adVarChar", "NVARCHAR2(2000)"}},
    {201, {"adLongVarChar", "NVARCHAR2(2000)"}},
    {202, {"adVarWChar", "NVARCHAR2(2000)"}},
    {203, {"adLongVarWChar", "NVARCHAR2(2000)"}},
    {204, {"adVarBinary", "NVARCHAR2(2000)"}},
    {205, {"adLongVarBinary", "BLOB"}},
};

TEST(DataTypeName, NamesEveryKnownCodeExactly) {
    ASSERT_EQ(kAllCodes.size(), 39u);
    for (const auto& [code, expected] : kAllCodes) {
        const std::optional<QString> name = DataTypeName(code);
        ASSERT_TRUE(name.has_value()) << code;
        EXPECT_EQ(*name, QLatin1String(expected.name)) << code;
    }
}

TEST(DataTypeName, GivesNoNameForEveryOtherCode) {
    // The whole 16-bit range: exactly the 39 codes have names; this also catches a code that
    // maps to the wrong name twice.
    int named = 0;
    for (int code = -32768; code <= 32767; ++code) {
        const std::optional<QString> name = DataTypeName(static_cast<qint16>(code));
        if (kAllCodes.count(static_cast<qint16>(code)) != 0) {
            ++named;
            EXPECT_TRUE(name.has_value()) << code;
        } else {
            EXPECT_FALSE(name.has_value()) << code;
        }
    }
    EXPECT_EQ(named, 39);
    // Code 0 is a name, not the missing one; the array flag is not part of the table.
    EXPECT_EQ(DataTypeName(0).value_or(QStringLiteral("missing")), QStringLiteral("adEmpty"));
    EXPECT_FALSE(DataTypeName(0x2000 | 200).has_value());
}

TEST(ColumnTypeMapping, EveryNamedCodeGetsItsOracleType) {
    for (const auto& [code, expected] : kAllCodes) {
        EXPECT_EQ(ChooseColumnType(LowerCaseTypeName(code)).word,
                  QLatin1String(expected.columnType))
            << expected.name;
    }
}

TEST(ColumnTypeMapping, UnknownCodesBecomeText) {
    for (const qint16 code : {1, 15, 22, 63, 137, 206, -1, 32767}) {
        EXPECT_EQ(LowerCaseTypeName(code), QString()) << code;
        const ColumnType type = ChooseColumnType(LowerCaseTypeName(code));
        EXPECT_EQ(type.word, QStringLiteral("NVARCHAR2(2000)")) << code;
        EXPECT_EQ(type.appendLine, 192) << code;
    }
}

TEST(ColumnTypeMapping, FirstHoldingTestDecidesAndNamesItsLine) {
    // adLongVarChar holds "char" (first test) although it also ends like a binary name.
    EXPECT_EQ(ChooseColumnType(QStringLiteral("adlongvarchar")).appendLine, 154);
    // adSingle is decided by "single" before "int" is looked for.
    EXPECT_EQ(ChooseColumnType(QStringLiteral("adsingle")).appendLine, 162);
    EXPECT_EQ(ChooseColumnType(QStringLiteral("adbigint")).appendLine, 166);
    EXPECT_EQ(ChooseColumnType(QStringLiteral("adlongvarbinary")).appendLine, 170);
    EXPECT_EQ(ChooseColumnType(QStringLiteral("advarnumeric")).appendLine, 178);
    EXPECT_EQ(ChooseColumnType(QStringLiteral("addbdate")).appendLine, 182);
    // "addbtimestamp" does not hold "date"; it is decided by "timestamp".
    EXPECT_EQ(ChooseColumnType(QStringLiteral("addbtimestamp")).appendLine, 186);
    EXPECT_EQ(ChooseColumnType(QStringLiteral("addouble")).appendLine, 190);
    EXPECT_EQ(ChooseColumnType(QStringLiteral("addecimal")).appendLine, 158);
    // The tests compare exact characters: an upper-case name matches nothing.
    EXPECT_EQ(ChooseColumnType(QStringLiteral("adVarChar")).word,
              QStringLiteral("NVARCHAR2(2000)"));
    EXPECT_EQ(ChooseColumnType(QStringLiteral("adDouble")).word, QStringLiteral("NVARCHAR2(2000)"));
}

TEST(ColumnTypeMapping, TypeCodesNarrowToSixteenBits) {
    EXPECT_EQ(TypeCodeAsInt16(205), 205);
    EXPECT_EQ(TypeCodeAsInt16(-32768), -32768);
    EXPECT_EQ(TypeCodeAsInt16(32767), 32767);
    EXPECT_THROW(TypeCodeAsInt16(32768), std::exception);
    EXPECT_THROW(TypeCodeAsInt16(-32769), std::exception);
}

}  // namespace
}  // namespace quorvex::test
