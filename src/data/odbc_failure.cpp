#include "data/odbc_failure.h"

#include "data/odbc_values.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>
#include <QVariant>

#include <sql.h>
#include <sqlext.h>

namespace quorvex {

void* OdbcHandle(const QVariant& handle) {
    return handle.typeId() == QMetaType::VoidStar ? handle.value<void*>() : nullptr;
}

namespace {

// Qt 6.4's QSqlError carries the driver's native code only, not the SQLSTATE, so the diagnostics
// are read from the handles themselves.
bool HasConnectionFailureState(SQLHANDLE statement) {
    if (statement == nullptr) return false;
    for (SQLSMALLINT record = 1; record <= kMostDiagnosticRecords; ++record) {
        SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER nativeCode = 0;
        SQLSMALLINT messageLength = 0;
        const SQLRETURN read = SQLGetDiagRec(SQL_HANDLE_STMT, statement, record, state, &nativeCode,
                                             nullptr, 0, &messageLength);
        if (!SQL_SUCCEEDED(read)) return false;
        if (state[0] == '0' && state[1] == '8') return true;
    }
    return false;
}

// The driver's own record of the connection (ODBC 3.5): a driver without it says nothing here.
bool IsConnectionDead(SQLHANDLE connection) {
    if (connection == nullptr) return false;
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(
               SQLGetConnectAttr(connection, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
           dead == SQL_CD_TRUE;
}

}  // namespace

Failure OdbcQueryFailure(const QSqlQuery& query) {
    const QSqlResult* result = query.result();
    return OdbcHandleFailure(
        OdbcErrorText(query.lastError()),
        result != nullptr ? OdbcHandle(result->handle()) : nullptr,
        query.driver() != nullptr ? OdbcHandle(query.driver()->handle()) : nullptr);
}

Failure OdbcHandleFailure(const QString& text, void* statement, void* connection) {
    const bool lost = HasConnectionFailureState(statement) || IsConnectionDead(connection);
    return lost ? Failure::ConnectionLost(text) : Failure(text);
}

}  // namespace quorvex
