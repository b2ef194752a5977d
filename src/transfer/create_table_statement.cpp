#include "transfer/create_table_statement.h"

#include "data/core/datatype.h"
#include "data/core/failure.h"
#include "transfer/quoted_name.h"

#include <array>
#include <limits>

namespace quorvex {

namespace {

struct TypeTest {
    const char* needle;
    ColumnKind kind;
    int appendLine;
};

// Order matters: "adlongvarchar" holds "char" and is text; "adsingle" is decided before "int"
// is looked for; only "adlongvarbinary" becomes BLOB.
constexpr std::array<TypeTest, 9> kTests{{
    {"char", ColumnKind::Text, 154},
    {"decimal", ColumnKind::Decimal, 158},
    {"single", ColumnKind::Integer, 162},
    {"int", ColumnKind::Integer, 166},
    {"adlongvarbinary", ColumnKind::Blob, 170},
    {"numeric", ColumnKind::Integer, 178},
    {"date", ColumnKind::Text, 182},
    {"timestamp", ColumnKind::Text, 186},
    {"double", ColumnKind::Float, 190},
}};

constexpr int kNoTestHeldLine = 192;

}  // namespace

QString ColumnWord(ColumnKind kind) {
    switch (kind) {
        case ColumnKind::Text:
            break;
        case ColumnKind::Decimal:
            return QStringLiteral("DECIMAL");
        case ColumnKind::Integer:
            return QStringLiteral("INT");
        case ColumnKind::Blob:
            return QStringLiteral("BLOB");
        case ColumnKind::Float:
            return QStringLiteral("FLOAT");
    }
    return QStringLiteral("NVARCHAR2(2000)");
}

ColumnType ChooseColumnType(const QString& lowerCaseTypeName) {
    for (const TypeTest& test : kTests) {
        if (lowerCaseTypeName.contains(QLatin1String(test.needle), Qt::CaseSensitive)) {
            return {ColumnWord(test.kind), test.appendLine, test.kind};
        }
    }
    return {ColumnWord(ColumnKind::Text), kNoTestHeldLine, ColumnKind::Text};
}

QString LowerCaseTypeName(qint16 code) { return DataTypeName(code).value_or(QString()).toLower(); }

qint16 TypeCodeAsInt16(int code) {
    if (code < std::numeric_limits<qint16>::min() || code > std::numeric_limits<qint16>::max()) {
        throw Failure(
            QStringLiteral("Overflow: the field's data type code %1 is out of range").arg(code));
    }
    return static_cast<qint16>(code);
}

CreateTableStatement::CreateTableStatement(const QString& table, const OracleDatabaseRules& rules)
    : rules_(rules),
      text_(QStringLiteral("CREATE TABLE ") + QuotedTableName(table, rules) + u'(') {}

void CreateTableStatement::AddColumn(const QString& field, const QString& typeWord) {
    text_ += QuotedFieldName(field, rules_);
    text_ += u' ';
    text_ += typeWord;
    text_ += u',';
}

QString CreateTableStatement::Finish() {
    text_.chop(1);
    text_ += u')';
    return text_;
}

QString BuildCreateTableStatement(const QString& table, const std::vector<SourceField>& fields,
                                  const OracleDatabaseRules& rules) {
    CreateTableStatement statement(table, rules);
    for (const SourceField& field : fields) {
        statement.AddColumn(field.name, ChooseColumnType(LowerCaseTypeName(field.type)).word);
    }
    return statement.Finish();
}

}  // namespace quorvex
