#pragma once

#include <QString>
#include <QStringList>

namespace quorvex {

// The driver name the program's Oracle connection string asks for.
inline const QString kOracleDriverName = QStringLiteral("Microsoft ODBC for Oracle");

// The driver names registered with unixODBC (its odbcinst.ini, chosen by ODBCSYSINI), in the
// order it lists them.
QStringList InstalledOdbcDrivers();

// The connection string to hand to unixODBC for `connectionString`, given the registered driver
// names. A string whose driver is registered under that exact name goes unchanged, and so does
// one naming any driver other than the Oracle one. When the Oracle name is not registered, the
// first registered driver whose name contains "Oracle" is used instead, with the SID (Server)
// passed as DBQ, the keyword the Oracle driver reads the service name from; everything else in
// the string stays as written. With no such driver the string goes unchanged and the driver
// manager's own failure follows.
QString ResolveOdbcConnectionString(const QString& connectionString,
                                    const QStringList& installedDrivers);

}  // namespace quorvex
