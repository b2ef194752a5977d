#include "transfer/insert_statement.h"

#include "transfer/quoted_name.h"
#include "transfer/value_text.h"

namespace quorvex {

namespace {
const QString kSingleQuote = QStringLiteral("'");
const QString kDoubledQuote = QStringLiteral("''");
const QString kNullValue = QStringLiteral("NULL, '");
const QString kValueEnd = QStringLiteral("', '");
const QString kBoundValue = QStringLiteral("?, '");
}  // namespace

InsertStatement::InsertStatement(const QString& table)
    : prefix_(QStringLiteral("INSERT INTO ") + QuotedTableName(table) +
              QStringLiteral(" VALUES('")) {}

void InsertStatement::Begin() {
    // Keeps the buffer's capacity from the previous row: rows of one table are alike in size.
    text_.resize(0);
    text_ += prefix_;
    bound_.clear();
}

void InsertStatement::AddValue(const Value& value) {
    if (MustBeBound(value)) {
        text_.chop(1);
        text_ += kBoundValue;
        bound_.push_back(value);
        return;
    }
    AddValue(ValueText(value));
}

void InsertStatement::AddValue(const QString& text) {
    if (text.isEmpty()) {
        text_.chop(1);
        text_ += kNullValue;
        return;
    }
    if (text.contains(u'\'')) {
        QString doubled = text;
        doubled.replace(kSingleQuote, kDoubledQuote);
        text_ += doubled;
    } else {
        text_ += text;
    }
    text_ += kValueEnd;
}

const QString& InsertStatement::Finish() {
    text_.chop(3);
    text_ += u')';
    return text_;
}

InsertRow BuildInsertStatement(const QString& table, const std::vector<Value>& values) {
    InsertStatement statement(table);
    statement.Begin();
    for (const Value& value : values) {
        statement.AddValue(NullToDefault(value, Value::Text(QString())));
    }
    return {statement.Finish(), statement.BoundValues()};
}

}  // namespace quorvex
