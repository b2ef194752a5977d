#pragma once

#include "data/core/value.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

namespace quorvex {

// Executes a statement whose "?" markers stand for `values` (texts and bytes, in order) on the
// open ODBC connection of `database`, in one exchange with the server. The values are bound
// through the ODBC API on the connection handle Qt SQL exposes, not through Qt's own binding
// (see the .cpp for why). Throws Failure with the driver's message when the statement fails.
void ExecuteWithBoundValues(const QSqlDatabase& database, const QString& statement,
                            const std::vector<Value>& values);

}  // namespace quorvex
