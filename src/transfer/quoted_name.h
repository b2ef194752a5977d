#pragma once

#include <QString>

namespace quorvex {

// Every statement names tables and columns as quoted identifiers: the name between double
// quotes, nothing inside it escaped. A name that itself holds a double quote cannot be written
// that way (it would end the identifier early and turn the rest into statement text), so it is
// refused with a Failure naming it before any statement is built.
QString QuotedTableName(const QString& table);
QString QuotedFieldName(const QString& field);

// "DROP TABLE " and the quoted name, for the Oracle side.
QString DropTableStatement(const QString& table);

// "SELECT * FROM " and the quoted name, for the Paradox side.
QString SelectAllStatement(const QString& table);

}  // namespace quorvex
