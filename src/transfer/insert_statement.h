#pragma once

#include "data/access/oracle_database_rules.h"
#include "data/core/value.h"

#include <QString>

#include <optional>
#include <vector>

namespace quorvex {

// Builds INSERT INTO "<table>" VALUES('v1', 'v2', NULL, ...) one value at a time, so the caller
// can yield and report per value. Every value is a string literal with its single quotes
// doubled; a value whose text is empty is written as NULL; a value whose literal Oracle cannot
// take or would not keep (MustBeBound, under the database's rules) is written as a "?" marker,
// its value bound in its place when the statement runs. Depends only on its inputs: the names,
// the values and the rules of the database the statement is for.
//
// Oracle's documentation gives two rules for bound data that may exceed 4,000 bytes, which
// Oracle sends as LONG data (and a bound byte value over 2,000 bytes, more than RAW holds, is
// bound as LONG RAW data here):
// - ORA-24816: a LONG or LOB bind must come after every other bind; the remedy is to re-order
//   the binds so that they are all at the end of the bind list. Given the table's field names, a
//   row where a bound byte value would come before another bound value is written with its
//   column list instead, the bound byte values moved to its end:
//   INSERT INTO "T" ("Id", "Memo", "Picture") VALUES('5', ?, ?). Every other row keeps the form
//   above.
// - ORA-22295: more than 4,000 bytes cannot be bound both to LOB columns and to a LONG in one
//   statement. A bound text over 4,000 bytes as bound (more than 2,000 UTF-16 code units, which
//   no NVARCHAR2(2000) column holds anyway; with the national character set UTF8, over 4,000
//   bytes in it) in a row that also binds a byte value is such a row: it is refused (Refusal)
//   rather than sent.
class InsertStatement {
  public:
    // Refuses a table name Oracle would refuse (QuotedTableName), and a field name likewise
    // (QuotedFieldName). Without field names no row is reordered.
    explicit InsertStatement(const QString& table, const std::vector<QString>& fieldNames = {},
                             const OracleDatabaseRules& rules = {});

    // Starts a row: INSERT INTO, a blank, the quoted name, " VALUES(" and the single quote that
    // opens the first value. No value is bound yet.
    void Begin();

    // Appends one value: a "?" for a value that must be bound (the quote opened for it is taken
    // back and "?, '" written), otherwise the literal of its text (ValueText).
    void AddValue(const Value& value);

    // Appends one value's text. The text so far always ends with the quote that opens this
    // value: an empty text takes that quote back and writes "NULL, '"; any other text is written
    // with its single quotes doubled, followed by "', '".
    void AddValue(const QString& text);

    // Takes back the separator and the quote opened for a further value ("', '" ends in three
    // characters ", '") and closes the parenthesis; moves long byte values last where Oracle
    // needs it. The text is ready to execute.
    const QString& Finish();

    // The values the "?" markers of the row stand for, in order; empty for most rows.
    const std::vector<Value>& BoundValues() const { return bound_; }

    // Why Oracle would refuse the row for its bound values, as a failure describes it; empty for
    // a row that can be sent. Ready after Finish.
    const QString& Refusal() const { return refusal_; }

  private:
    // A bound byte value, which Oracle takes as LONG RAW data: where its field is, where its "?"
    // stands in the text, and where it is among the bound values.
    struct LongBind {
        std::size_t field;
        qsizetype marker;
        std::size_t boundIndex;
    };

    void MoveLongBindsLast();

    std::vector<QString> fieldNames_;
    bool bindNonAsciiTexts_;
    OracleDatabaseRules nationalRules_;  // for the bytes of bound texts in the national set
    QString quotedTable_;
    std::vector<QString> quotedFields_;
    QString prefix_;
    QString text_;
    std::vector<Value> bound_;
    std::size_t valueCount_ = 0;
    std::vector<LongBind> longBinds_;
    bool ordinaryBindAfterLong_ = false;
    std::optional<std::size_t> longTextField_;  // the first bound text over 4,000 bytes as bound
    qsizetype longTextLength_ = 0;
    QString refusal_;
};

// One row's statement, the values bound to its "?" markers, and why Oracle would refuse it
// (empty for a row that can be sent).
struct InsertRow {
    QString text;
    std::vector<Value> boundValues;
    QString refusal;
};

// The whole statement for one row, values in field order (Null, or a value with a text form).
InsertRow BuildInsertStatement(const QString& table, const std::vector<Value>& values,
                               const std::vector<QString>& fieldNames = {},
                               const OracleDatabaseRules& rules = {});

}  // namespace quorvex
