#pragma once

#include "data/core/record_source.h"

#include <QString>

#include <memory>

namespace quorvex {

// Opens an ODBC connection through unixODBC (Qt SQL's QODBC driver) with the connection string
// exactly as given. Throws Failure with the driver's own message when the connection is refused.
// Destroying the result closes the connection and ends the results still open on it.
std::unique_ptr<DriverConnection> OpenOdbcDriver(const QString& connectionString);

}  // namespace quorvex
