#pragma once

#include "data/oracle/oracle_character_set.h"

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
// character set, when nothing else is known; Oracle refuses a longer one (ORA-00972).
constexpr qsizetype kLongestOracleNameBytes = 128;

// A quoted identifier for an Oracle statement: QuotedIdentifier's rule, and, refused the same
// way, a name holding a character the database character set cannot hold (Oracle would turn it
// into a replacement character and name another table), or one longer than `longestBytes` in
// that set's bytes.
QString QuotedOracleIdentifier(const QString& name, const QString& what, const QString& outcome,
                               const OracleCharacterSet& characterSet = OracleCharacterSet(),
                               qsizetype longestBytes = kLongestOracleNameBytes);

}  // namespace quorvex
