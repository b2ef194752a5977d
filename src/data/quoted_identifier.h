#pragma once

#include <QString>

namespace quorvex {

// Every statement names tables and columns as quoted identifiers: the name between double
// quotes, nothing inside it escaped. A name that itself holds a double quote cannot be written
// that way (it would end the identifier early and turn the rest into statement text), so it is
// refused with a Failure before any statement is built. The Failure reads "The <what> <name>
// <reason>; <outcome>.", e.g. "The table name A"B contains a double quote ..., which a quoted
// name cannot hold; the table is not copied."
QString QuotedIdentifier(const QString& name, const QString& what, const QString& outcome);

// The longest quoted identifier Oracle takes (12.2 and later), in bytes of the database
// character set; Oracle refuses a longer one (ORA-00972), and UTF-8 is the longest encoding a
// name can have there.
constexpr qsizetype kLongestOracleNameBytes = 128;

// A quoted identifier for an Oracle statement: QuotedIdentifier's rule, and a name over
// kLongestOracleNameBytes bytes in UTF-8 is refused the same way.
QString QuotedOracleIdentifier(const QString& name, const QString& what, const QString& outcome);

}  // namespace quorvex
