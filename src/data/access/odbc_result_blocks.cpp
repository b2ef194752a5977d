#include "data/access/odbc_result_blocks.h"

#include <QString>

#include <sql.h>
#include <sqlext.h>

namespace quorvex {

namespace {

// psqlODBC's own connection attributes (its pgapifunc.h): its "UseDeclareFetch" and "Fetch"
// options, which it otherwise reads from the connection string or its registry entry.
constexpr SQLINTEGER kPsqlOdbcUseDeclareFetch = 65539;
constexpr SQLINTEGER kPsqlOdbcFetch = 65541;

// The file name the driver gives for itself: "psqlodbcw.so", "libsqora.so.21.1"...
QString DriverName(void* connection) {
    SQLCHAR name[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection, SQL_DRIVER_NAME, name, sizeof name, &length))) {
        return QString();
    }
    return QString::fromLatin1(reinterpret_cast<const char*>(name));
}

}  // namespace

void FetchResultsInBlocks(Connection& connection, int rowsPerBlock) {
    void* const handle = connection.OdbcConnectionHandle();
    if (handle == nullptr ||
        !DriverName(handle).startsWith(QLatin1String("psqlodbc"), Qt::CaseInsensitive)) {
        return;
    }
    // The block size first: declare/fetch reads it for each query it opens.
    SQLSetConnectAttr(handle, kPsqlOdbcFetch,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(rowsPerBlock)), 0);
    SQLSetConnectAttr(handle, kPsqlOdbcUseDeclareFetch, reinterpret_cast<SQLPOINTER>(SQLLEN{1}), 0);
}

}  // namespace quorvex
