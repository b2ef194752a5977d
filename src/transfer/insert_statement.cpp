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
const QString kSeparator = QStringLiteral(", ");

// Oracle binds a byte value longer than this as LONG data.
constexpr qsizetype kLongestOrdinaryBindBytes = 4000;

bool IsLongBind(const Value& value) {
    return value.kind() == Value::Kind::Bytes && value.toBytes().size() > kLongestOrdinaryBindBytes;
}

std::vector<QString> QuotedFieldNames(const std::vector<QString>& fieldNames) {
    std::vector<QString> quoted;
    quoted.reserve(fieldNames.size());
    for (const QString& name : fieldNames) {
        quoted.push_back(QuotedFieldName(name));
    }
    return quoted;
}
}  // namespace

InsertStatement::InsertStatement(const QString& table, const std::vector<QString>& fieldNames)
    : quotedTable_(QuotedTableName(table)),
      quotedFields_(QuotedFieldNames(fieldNames)),
      prefix_(QStringLiteral("INSERT INTO ") + quotedTable_ + QStringLiteral(" VALUES('")) {}

void InsertStatement::Begin() {
    // Keeps the buffer's capacity from the previous row: rows of one table are alike in size.
    text_.resize(0);
    text_ += prefix_;
    bound_.clear();
    valueCount_ = 0;
    longBinds_.clear();
    ordinaryBindAfterLong_ = false;
}

void InsertStatement::AddValue(const Value& value) {
    if (MustBeBound(value)) {
        text_.chop(1);
        if (IsLongBind(value)) {
            longBinds_.push_back({valueCount_, text_.size(), bound_.size()});
        } else if (!longBinds_.empty()) {
            ordinaryBindAfterLong_ = true;
        }
        text_ += kBoundValue;
        bound_.push_back(value);
        ++valueCount_;
        return;
    }
    AddValue(ValueText(value));
}

void InsertStatement::AddValue(const QString& text) {
    ++valueCount_;
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
    if (ordinaryBindAfterLong_ && quotedFields_.size() == valueCount_) {
        MoveLongBindsLast();
    }
    return text_;
}

void InsertStatement::MoveLongBindsLast() {
    QString columns;
    std::vector<Value> bound;
    bound.reserve(bound_.size());
    std::size_t nextLong = 0;
    for (std::size_t field = 0; field < valueCount_; ++field) {
        if (nextLong < longBinds_.size() && longBinds_[nextLong].field == field) {
            ++nextLong;
            continue;
        }
        columns += quotedFields_[field] + kSeparator;
    }
    nextLong = 0;
    for (std::size_t i = 0; i < bound_.size(); ++i) {
        if (nextLong < longBinds_.size() && longBinds_[nextLong].boundIndex == i) {
            ++nextLong;
            continue;
        }
        bound.push_back(std::move(bound_[i]));
    }

    // The value list without the long binds' "?, ", then their markers at its end. A row with an
    // ordinary bind after a long one always keeps at least that value in front.
    QString values;
    qsizetype from = prefix_.size() - 1;  // the first value's first character
    for (const LongBind& longBind : longBinds_) {
        values += QStringView(text_).mid(from, longBind.marker - from);
        from = longBind.marker + kBoundValue.size() - 1;
    }
    const qsizetype closingParenthesis = text_.size() - 1;
    if (from < closingParenthesis) {
        values += QStringView(text_).mid(from, closingParenthesis - from);
    } else {
        values.chop(kSeparator.size());  // the last value was a long bind
    }
    for (const LongBind& longBind : longBinds_) {
        columns += quotedFields_[longBind.field] + kSeparator;
        values += QStringLiteral(", ?");
        bound.push_back(std::move(bound_[longBind.boundIndex]));
    }
    columns.chop(kSeparator.size());

    text_ = QStringLiteral("INSERT INTO ") + quotedTable_ + QStringLiteral(" (") + columns +
            QStringLiteral(") VALUES(") + values + u')';
    bound_ = std::move(bound);
}

InsertRow BuildInsertStatement(const QString& table, const std::vector<Value>& values,
                               const std::vector<QString>& fieldNames) {
    InsertStatement statement(table, fieldNames);
    statement.Begin();
    for (const Value& value : values) {
        statement.AddValue(NullToDefault(value, Value::Text(QString())));
    }
    return {statement.Finish(), statement.BoundValues()};
}

}  // namespace quorvex
