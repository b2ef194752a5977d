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

// A bound byte value is longer than RAW's 2,000 bytes (shorter ones are hex literals): Oracle
// takes it as LONG RAW data.
bool IsLongBind(const Value& value) {
    return value.kind() == Value::Kind::Bytes && value.toBytes().size() > kLongestHexLiteralBytes;
}

// A text is bound in UTF-16: over this many code units it is more than 4,000 bytes as bound.
constexpr qsizetype kLongestOrdinaryTextBindUnits = 2000;

std::vector<QString> QuotedFieldNames(const std::vector<QString>& fieldNames,
                                      const OracleDatabaseRules& rules) {
    std::vector<QString> quoted;
    quoted.reserve(fieldNames.size());
    for (const QString& name : fieldNames) {
        quoted.push_back(QuotedFieldName(name, rules));
    }
    return quoted;
}
}  // namespace

InsertStatement::InsertStatement(const QString& table, const std::vector<QString>& fieldNames,
                                 const OracleDatabaseRules& rules)
    : fieldNames_(fieldNames),
      bindNonAsciiTexts_(rules.bindsNonAsciiTexts()),
      nationalRules_(rules),
      quotedTable_(QuotedTableName(table, rules)),
      quotedFields_(QuotedFieldNames(fieldNames, rules)),
      prefix_(QStringLiteral("INSERT INTO ") + quotedTable_ + QStringLiteral(" VALUES('")) {}

void InsertStatement::Begin() {
    // Keeps the buffer's capacity from the previous row: rows of one table are alike in size.
    text_.resize(0);
    text_ += prefix_;
    bound_.clear();
    valueCount_ = 0;
    longBinds_.clear();
    ordinaryBindAfterLong_ = false;
    longTextField_.reset();
    refusal_.clear();
}

void InsertStatement::AddValue(const Value& value) {
    if (MustBeBound(value, bindNonAsciiTexts_)) {
        text_.chop(1);
        if (IsLongBind(value)) {
            longBinds_.push_back({valueCount_, text_.size(), bound_.size()});
        } else if (!longBinds_.empty()) {
            ordinaryBindAfterLong_ = true;
        }
        if (value.kind() == Value::Kind::Text && !longTextField_ &&
            (value.toText().size() > kLongestOrdinaryTextBindUnits ||
             nationalRules_.nationalBytes(value.toText()) >
                 OracleDatabaseRules::kLongestNationalTextBytes)) {
            longTextField_ = valueCount_;
            longTextLength_ = value.toText().size();
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
    if (longTextField_ && !longBinds_.empty()) {
        const QString field = *longTextField_ < fieldNames_.size()
                                  ? QStringLiteral("of field %1 ").arg(fieldNames_[*longTextField_])
                                  : QString();
        const QString length =
            longTextLength_ > kLongestOrdinaryTextBindUnits
                ? QStringLiteral("%1 characters").arg(longTextLength_)
                : QStringLiteral("%1 characters, over %2 bytes in the national character set %3")
                      .arg(longTextLength_)
                      .arg(OracleDatabaseRules::kLongestNationalTextBytes)
                      .arg(nationalRules_.nationalCharacterSet);
        refusal_ = QStringLiteral(
                       "The text %1has %2, more than its NVARCHAR2(2000) column holds, and Oracle "
                       "does not take such a text bound together with a byte value over 2,000 "
                       "bytes (ORA-22295); the row is not copied.")
                       .arg(field, length);
    }
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
                               const std::vector<QString>& fieldNames,
                               const OracleDatabaseRules& rules) {
    InsertStatement statement(table, fieldNames, rules);
    statement.Begin();
    for (const Value& value : values) {
        statement.AddValue(NullToDefault(value, Value::Text(QString())));
    }
    const QString text = statement.Finish();
    return {text, statement.BoundValues(), statement.Refusal()};
}

}  // namespace quorvex
