#pragma once

#include <QString>

namespace quorvex {

// Table and field names of the Oracle statements as quoted identifiers (data/quoted_identifier.h):
// a name holding a double quote, or longer than Oracle takes (128 bytes in UTF-8), is refused
// with a Failure naming it before any statement is built.
QString QuotedTableName(const QString& table);
QString QuotedFieldName(const QString& field);

// "DROP TABLE " and the quoted name, for the Oracle side.
QString DropTableStatement(const QString& table);

// "SELECT * FROM " and the quoted name, for the Paradox side (only a double quote is refused).
QString SelectAllStatement(const QString& table);

}  // namespace quorvex
