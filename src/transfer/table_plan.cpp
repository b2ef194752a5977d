#include "transfer/table_plan.h"

#include "shell/command_steps.h"
#include "transfer/quoted_name.h"
#include "transfer/value_text.h"

#include <cmath>

namespace quorvex {

namespace {

// The longest text an NVARCHAR2(2000) column holds, in characters.
constexpr qsizetype kLongestColumnText = 2000;
// The magnitudes Oracle refuses: NUMBER holds less than 1E126, and INT and DECIMAL columns
// (NUMBER(38)) less than 1E38.
constexpr double kLargestNumber = 1e126;
constexpr double kLargestInteger = 1e38;

}  // namespace

PlannedField PlannedField::Of(const QString& name, int typeCode) {
    PlannedField field;
    field.name = name;
    field.typeCode = TypeCodeAsInt16(typeCode);
    field.column = ChooseColumnType(LowerCaseTypeName(field.typeCode));
    return field;
}

TablePlan TablePlan::Read(Connection& paradox, const QString& table,
                          const ParadoxTableOptions& options, const OracleDatabaseRules& rules,
                          Recordset* rows) {
    SelectAllStatement(table);  // the name rule of the SQL door, with its message
    OpenedParadoxTable opened = paradox.OpenParadoxTable(table, options);
    TablePlan plan;
    plan.table = table;
    plan.rules = rules;
    for (const ParadoxFieldFacts& fact : opened.facts.fields) {
        PlannedField field = PlannedField::Of(fact.name, fact.adoType);
        field.paradoxType = fact.type;
        field.size = fact.size;
        plan.fields.push_back(std::move(field));
    }
    plan.rowCount = opened.facts.rowCount;
    plan.TakeFacts(&opened.facts);
    if (rows != nullptr) {
        rows->Open(std::move(opened.rows));
    }
    return plan;
}

TablePlan TablePlan::FromRecordset(const QString& table, const Recordset& rows,
                                   const OracleDatabaseRules& rules) {
    TablePlan plan;
    plan.table = table;
    plan.rules = rules;
    for (int i = 0; i < rows.FieldCount(); ++i) {
        plan.fields.push_back(PlannedField::Of(rows.FieldName(i), rows.FieldType(i)));
    }
    plan.rowCount = rows.RecordCount();
    plan.TakeFacts(rows.ParadoxFacts());
    return plan;
}

void TablePlan::TakeFacts(const ParadoxTableFacts* facts) {
    if (facts == nullptr) {
        return;
    }
    keyFieldCount = facts->keyFieldCount;
    codePage = facts->codePage;
    sourceFile = facts->file;
    for (std::size_t i = 0; i < fields.size() && i < facts->fields.size(); ++i) {
        fields[i].paradoxType = facts->fields[i].type;
        fields[i].size = facts->fields[i].size;
    }
}

std::vector<QString> TablePlan::FieldNames() const {
    std::vector<QString> names;
    names.reserve(fields.size());
    for (const PlannedField& field : fields) {
        names.push_back(field.name);
    }
    return names;
}

std::vector<SourceField> TablePlan::SourceFields() const {
    std::vector<SourceField> source;
    source.reserve(fields.size());
    for (const PlannedField& field : fields) {
        source.push_back({field.name, field.typeCode});
    }
    return source;
}

QString TablePlan::CreateTableText() const {
    CreateTableStatement statement(table, rules);
    for (const PlannedField& field : fields) {
        statement.AddColumn(field.name, field.column.word);
    }
    return FinishCreateTable(statement);
}

QString TablePlan::FinishCreateTable(CreateTableStatement& statement) const {
    return statement.Finish();
}

QString TablePlan::RefusedName() const {
    try {
        QuotedTableName(table, rules);
        for (const PlannedField& field : fields) {
            QuotedFieldName(field.name, rules);
        }
    } catch (const std::exception& failure) {
        return CommandSteps::Describe(failure);
    }
    return QString();
}

QString TablePlan::RefusalOf(std::size_t field, const Value& value) const {
    // What the native copy's own types would carry whole (send --native), said where it does.
    const bool paradoxNumber = fields[field].paradoxType == paradox::FieldType::Number ||
                               fields[field].paradoxType == paradox::FieldType::Money;
    if (const QString unheld = NumberOracleCannotHold(value); !unheld.isEmpty()) {
        return QStringLiteral("numbers Oracle cannot store (%1, sent as NULL)%2")
            .arg(unheld, paradoxNumber ? QStringLiteral(", which send --native carries as "
                                                        "BINARY_DOUBLE,")
                                       : QString());
    }
    const ColumnType& column = fields[field].column;
    switch (column.kind) {
        case ColumnKind::Text: {
            const QString text = ValueText(value);
            const QString nclob =
                fields[field].paradoxType == paradox::FieldType::Memo
                    ? QStringLiteral(", which send --native carries whole as NCLOB,")
                    : QString();
            if (text.size() > kLongestColumnText) {
                return QStringLiteral("texts over 2,000 characters for NVARCHAR2(2000)%1")
                    .arg(nclob);
            }
            // Within 2,000 characters, but over the 4,000 bytes of an NVARCHAR2 in a national
            // character set of up to three bytes a character (UTF8).
            return rules.nationalTextRefusal(text).isEmpty()
                       ? QString()
                       : QStringLiteral(
                             "texts over 4,000 bytes in the national character set %1 "
                             "for NVARCHAR2(2000)%2")
                             .arg(rules.nationalCharacterSet, nclob);
        }
        case ColumnKind::Blob:
            return QString();
        case ColumnKind::Decimal:
        case ColumnKind::Integer:
        case ColumnKind::Float:
            break;
    }
    if (value.kind() == Value::Kind::Double) {
        const double limit = column.kind == ColumnKind::Float ? kLargestNumber : kLargestInteger;
        if (std::fabs(value.toDouble()) >= limit) {
            return QStringLiteral("numbers too large for %1").arg(column.word);
        }
    }
    return QString();
}

}  // namespace quorvex
