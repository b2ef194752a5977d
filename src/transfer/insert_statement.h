#pragma once

#include "data/value.h"

#include <QString>

#include <vector>

namespace quorvex {

// Builds INSERT INTO "<table>" VALUES('v1', 'v2', NULL, ...) one value at a time, so the caller
// can yield and report per value. Every value is a string literal with its single quotes
// doubled; a value whose text is empty is written as NULL; a value whose literal Oracle cannot
// take (MustBeBound) is written as a "?" marker, its value bound in its place when the statement
// runs. Depends only on its inputs.
//
// Oracle sends a bound byte value over 4,000 bytes as LONG data, and refuses a row in which an
// ordinary bound value, such as a long memo, follows such a bind (ORA-24816); its remedy is to
// bind LONG and LOB data last. Given the table's field names, a row where that would happen is
// written with its column list instead, the long byte values moved to its end:
// INSERT INTO "T" ("Id", "Memo", "Picture") VALUES('5', ?, ?). Every other row keeps the form
// above.
class InsertStatement {
  public:
    // Refuses a table name Oracle would refuse (QuotedTableName), and a field name likewise
    // (QuotedFieldName). Without field names no row is reordered.
    explicit InsertStatement(const QString& table, const std::vector<QString>& fieldNames = {});

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

  private:
    // A bound value Oracle takes as LONG data: where its field is, where its "?" stands in the
    // text, and where it is among the bound values.
    struct LongBind {
        std::size_t field;
        qsizetype marker;
        std::size_t boundIndex;
    };

    void MoveLongBindsLast();

    QString quotedTable_;
    std::vector<QString> quotedFields_;
    QString prefix_;
    QString text_;
    std::vector<Value> bound_;
    std::size_t valueCount_ = 0;
    std::vector<LongBind> longBinds_;
    bool ordinaryBindAfterLong_ = false;
};

// One row's statement and the values bound to its "?" markers.
struct InsertRow {
    QString text;
    std::vector<Value> boundValues;
};

// The whole statement for one row, values in field order (Null, or a value with a text form).
InsertRow BuildInsertStatement(const QString& table, const std::vector<Value>& values,
                               const std::vector<QString>& fieldNames = {});

}  // namespace quorvex
