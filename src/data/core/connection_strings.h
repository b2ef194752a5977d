#pragma once

#include "data/core/connection_fields.h"

#include <QString>

namespace quorvex {

// The two connection strings, built afresh from the current connection fields each time a
// connection is opened. The fields go in exactly as typed: nothing is trimmed, quoted or escaped.

// "Driver={Microsoft ODBC for Oracle};Server=<SID>;Uid=<user>;Pwd=<password>;"
QString OracleConnectionString(const ConnectionFields& fields);

// The Paradox driver on the folder field, given twice (DefaultDir and Dbq).
QString ParadoxConnectionString(const ConnectionFields& fields);

}  // namespace quorvex
