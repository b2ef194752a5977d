#pragma once

#include "data/oracle/odbc_session.h"
#include "data/core/record_source.h"

#include <QString>

#include <memory>

namespace quorvex {

// Runs a query on the session and returns its result standing on the first row. With
// adUseClient the whole result is fetched first, so the record count is exact and the rows stay
// readable after the connection closes; with adUseServer rows are fetched one by one as the
// caller moves on (forward only), the record count is -1 (unknown, as with any forward-only
// cursor), and closing the connection ends the result. Throws Failure with the driver's message.
std::unique_ptr<RecordSource> RunOdbcQuery(const std::shared_ptr<OdbcSession>& session,
                                           const QString& statement, int cursorLocation);

}  // namespace quorvex
