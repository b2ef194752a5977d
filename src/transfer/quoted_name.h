#pragma once

#include "data/access/oracle_database_rules.h"

#include <QString>

namespace quorvex {

// Table and field names of the Oracle statements as quoted identifiers (data/quoted_identifier.h):
// a name holding a double quote, a character the database character set cannot hold, or more
// bytes than the server takes for a table or a column name, is refused with a Failure naming it
// before any statement is built. Without rules, the database is taken for AL32UTF8 with names of
// up to 128 bytes.
QString QuotedTableName(const QString& table, const OracleDatabaseRules& rules = {});
QString QuotedFieldName(const QString& field, const OracleDatabaseRules& rules = {});

// "DROP TABLE " and the quoted name, for the Oracle side.
QString DropTableStatement(const QString& table, const OracleDatabaseRules& rules = {});
// DROP TABLE "<table>" PURGE: the table goes at once, not into the recycle bin, where it would
// still count against the user's quota. For tables the program itself abandons.
QString PurgeTableStatement(const QString& table, const OracleDatabaseRules& rules = {});

// A text as an Oracle string literal, its quotes doubled: 'O''Brien'. For names in the
// dictionary's queries (WHERE table_name = 'T').
QString TextLiteral(QString text);

// "SELECT * FROM " and the quoted name, for the Paradox side (only a double quote is refused).
QString SelectAllStatement(const QString& table);

}  // namespace quorvex
