#pragma once

#include "data/access/connection.h"
#include "transfer/native_shape.h"

#include <QString>

#include <vector>

namespace quorvex {

// A table's columns as Oracle's dictionary describes them (ReadOracleColumns: each one's name,
// type, length in bytes and in characters, precision, scale and whether it takes NULL, in column
// order), made into a short text (a SHA-256 in hex) that changes when any of them does. The
// ledger keeps it for each table a send committed, so that a column altered by hand since
// (widened, retyped, renamed, added or dropped) shows though no row changed. It is read from the
// dictionary both times, on whatever session: an untouched table gives the same text.

// The fingerprint of these columns; empty for none.
QString ColumnFingerprint(const std::vector<OracleColumn>& columns);

// The fingerprint of the table's columns now, read on `oracle`; empty when the dictionary knows
// no column of that table. Failures throw.
QString ReadColumnFingerprint(Connection& oracle, const QString& table);

}  // namespace quorvex
