#pragma once

#include "data/access/connection.h"

#include <QString>

namespace quorvex {

// A table's columns as Oracle's dictionary describes them, each one's name, type, length (in
// bytes and in characters), precision, scale and whether it takes NULL, in column order, made
// into a short text (a SHA-256 in hex) that changes when any of them does. The ledger keeps it
// for each table a send committed, so that a column altered by hand since (widened, retyped,
// renamed, added or dropped) shows though no row changed. It is read from the dictionary both
// times, on whatever session: an untouched table gives the same text.

// SELECT column_name, data_type, ... FROM user_tab_columns WHERE table_name = 'T' ORDER BY
// column_id, the table's name as a literal.
QString ColumnFingerprintQuery(const QString& table);

// The fingerprint of the table's columns now, read on `oracle`; empty when the dictionary knows
// no column of that table. Failures throw.
QString ReadColumnFingerprint(Connection& oracle, const QString& table);

}  // namespace quorvex
