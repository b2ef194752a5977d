#include "data/oracle/odbc_driver_resolution.h"

#include "data/core/connection_string_parser.h"

#include <odbcinst.h>

#include <QByteArray>

namespace quorvex {
namespace {

bool SameDriverName(const QString& a, const QString& b) {
    // The driver manager finds odbcinst.ini sections ignoring case.
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString InstalledOracleDriver(const QStringList& installedDrivers) {
    for (const QString& name : installedDrivers) {
        if (name.contains(QStringLiteral("Oracle"), Qt::CaseInsensitive)) return name;
    }
    return QString();
}

// Rewrites the string segment by segment, so that only the driver name and the SID's keyword
// change and every other byte stays as written.
QString WithOracleDriver(const QString& connectionString, const QString& driver) {
    QStringList segments;
    bool driverDone = false;
    bool serverDone = false;
    // Splitting on ";" is safe here: the only braced value is the driver name, which holds none.
    for (const QString& segment : connectionString.split(u';')) {
        const qsizetype equals = segment.indexOf(u'=');
        const QString key = equals < 0 ? QString() : segment.left(equals);
        if (!driverDone && SameDriverName(key, QStringLiteral("Driver"))) {
            segments.append(QStringLiteral("Driver={") + driver + u'}');
            driverDone = true;
        } else if (!serverDone && key.compare(QStringLiteral("Server"), Qt::CaseInsensitive) == 0) {
            segments.append(QStringLiteral("DBQ=") + segment.mid(equals + 1));
            serverDone = true;
        } else {
            segments.append(segment);
        }
    }
    return segments.join(u';');
}

}  // namespace

QStringList InstalledOdbcDrivers() {
    // A double-NUL-terminated list; 64 KiB is the most the call can fill.
    QByteArray buffer(65535, '\0');
    WORD used = 0;
    if (!SQLGetInstalledDrivers(buffer.data(), static_cast<WORD>(buffer.size() - 1), &used)) {
        return {};
    }
    QStringList names;
    const char* cursor = buffer.constData();
    const char* end = buffer.constData() + buffer.size();
    while (cursor < end && *cursor != '\0') {
        const QByteArray name(cursor);
        names.append(QString::fromLocal8Bit(name));
        cursor += name.size() + 1;
    }
    return names;
}

QString ResolveOdbcConnectionString(const QString& connectionString,
                                    const QStringList& installedDrivers) {
    const QString requested = ConnectionStringValue(connectionString, QStringLiteral("Driver"));
    if (!SameDriverName(requested, kOracleDriverName)) return connectionString;
    for (const QString& name : installedDrivers) {
        if (SameDriverName(name, requested)) return connectionString;
    }
    const QString oracle = InstalledOracleDriver(installedDrivers);
    if (oracle.isEmpty()) return connectionString;
    return WithOracleDriver(connectionString, oracle);
}

}  // namespace quorvex
