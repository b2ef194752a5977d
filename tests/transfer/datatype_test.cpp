#include "data/core/datatype.h"
#include "data/core/connection_strings.h"
#include "support/recording_ui.h"
#include "table_writer.h"
#include "transfer/bulk_statements.h"
#include "transfer/create_table_statement.h"
#include "transfer/table_plan.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <limits>
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

TEST(ColumnTypeMapping, ATablesPlanReadsItsFieldsOnceAndKnowsWhatOracleRefuses) {
    namespace px = paradox;
    QTemporaryDir folder;
    pxwriter::TableDesign design;
    design.codePage = 1251;
    design.fields = {{"Name", px::FieldType::Alpha, 30},
                     {"N", px::FieldType::Number},
                     {"Photo", px::FieldType::Blob, 10},
                     {"S", px::FieldType::Short}};
    pxwriter::WriteTable(
        QFile::encodeName(folder.filePath("T.DB")).toStdString(), design,
        {{px::Value::Text("a"), px::Value::Number(1), px::Value::Raw({1}), px::Value::Integer(2)}});
    FixedFields fields;
    fields.folder = folder.path();
    Connection paradox;
    paradox.Open(ParadoxConnectionString(fields));
    Recordset rows;
    const TablePlan plan = TablePlan::Read(paradox, "T", {}, {}, &rows);

    ASSERT_EQ(plan.fields.size(), 4u);
    EXPECT_EQ(plan.fields[0].paradoxType, px::FieldType::Alpha);
    EXPECT_EQ(plan.fields[0].size, 30);
    EXPECT_EQ(plan.fields[2].column.kind, ColumnKind::Blob);
    EXPECT_EQ(plan.codePage, 1251);
    EXPECT_EQ(plan.keyFieldCount, 0);
    EXPECT_EQ(plan.rowCount, 1);
    EXPECT_EQ(rows.FieldValue(3), Value::Integer(2));
    EXPECT_EQ(plan.CreateTableText(), BuildCreateTableStatement("T", plan.SourceFields()));
    EXPECT_EQ(TablePlan::FromRecordset("T", rows).CreateTableText(), plan.CreateTableText());
    EXPECT_EQ(BuildBulkInsertStatement("T", plan.SourceFields()).fieldOfMarker,
              (std::vector<std::size_t>{0, 1, 3, 2}));
    EXPECT_EQ(TablePlan::Read(paradox, "T", {1252}).codePage, 1252);

    EXPECT_TRUE(plan.RefusalOf(0, Value::Text(QString(2001, u'x'))).contains("2,000"));
    EXPECT_TRUE(plan.RefusalOf(0, Value::Text(QString(2000, u'x'))).isEmpty());
    EXPECT_EQ(plan.RefusalOf(1, Value::Double(1e130)), "numbers too large for FLOAT");
    EXPECT_TRUE(plan.RefusalOf(1, Value::Double(1e40)).isEmpty());
    EXPECT_EQ(plan.RefusalOf(3, Value::Double(1e40)), "numbers too large for INT");
    EXPECT_TRUE(plan.RefusalOf(2, Value::Bytes(QByteArray(5000, 'x'))).isEmpty());
    EXPECT_FALSE(
        plan.RefusalOf(3, Value::Double(std::numeric_limits<double>::infinity())).isEmpty());
    EXPECT_TRUE(plan.RefusedName().isEmpty());
}

}  // namespace
}  // namespace quorvex::test
