#include "data/oracle/odbc_failure.h"

#include "data/oracle/odbc_values.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>
#include <QVariant>

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

namespace quorvex {

void* OdbcHandle(const QVariant& handle) {
    return handle.typeId() == QMetaType::VoidStar ? handle.value<void*>() : nullptr;
}

void* OdbcDatabaseHandle(const QSqlDatabase& database) {
    const QSqlDriver* driver = database.driver();
    return driver != nullptr ? OdbcHandle(driver->handle()) : nullptr;
}

namespace {

// Oracle's codes for a session that is gone: killed or ended (22, 28, 31, 45), not logged on
// (1012), the instance starting, stopping or gone (1033, 1034, 1089, 1092), idle or connect time
// used up (2396, 2399), the network link lost (3113, 3114, 3122, 3135), the server process lost
// or broken (378, 602, 603, 609, 1041, 1043, 27146), the TNS layer's own (12152, 12153, 12537,
// 12547, 12570, 12571, 12583, 12608, 12609), a remote agent's link (28511) and a pooled server
// taken back (56600): with these, Oracle's own client library counts the session as dead.
constexpr int kOracleConnectionLossCodes[] = {
    22,    28,    31,    45,    378,   602,   603,   609,   1012,  1033,  1034,
    1041,  1043,  1089,  1092,  2396,  2399,  3113,  3114,  3122,  3135,  12152,
    12153, 12537, 12547, 12570, 12571, 12583, 12608, 12609, 27146, 28511, 56600};

bool IsOracleConnectionLoss(const DiagnosticRecord& record) {
    for (const int code : kOracleConnectionLossCodes) {
        if (record.nativeError == code) {
            return record.message.contains(
                QStringLiteral("ORA-%1").arg(code, 5, 10, QLatin1Char('0')));
        }
    }
    return false;
}

// The driver's own record of the connection (ODBC 3.5): a driver without it says nothing here.
// The attribute is an SQLULEN; a driver that writes fewer bytes leaves the rest 0.
bool IsConnectionDead(SQLHANDLE connection) {
    if (connection == nullptr) return false;
    SQLULEN dead = 0;
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

std::vector<DiagnosticRecord> DiagnosticRecords(short handleType, void* handle) {
    std::vector<DiagnosticRecord> records;
    if (handle == nullptr) return records;
    for (SQLSMALLINT number = 1; number <= kMostDiagnosticRecords; ++number) {
        SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, number, state, &nativeError, nullptr,
                                          0, &length))) {
            break;
        }
        std::vector<SQLWCHAR> message(static_cast<size_t>(length) + 1);
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, number, state, &nativeError,
                                          message.data(), static_cast<SQLSMALLINT>(message.size()),
                                          &length))) {
            break;
        }
        records.push_back(
            {QString::fromUtf16(reinterpret_cast<const char16_t*>(state), SQL_SQLSTATE_SIZE),
             static_cast<int>(nativeError),
             QString::fromUtf16(reinterpret_cast<const char16_t*>(message.data()),
                                qMin<qsizetype>(length, message.size() - 1))});
    }
    return records;
}

bool ShowsLostConnection(const std::vector<DiagnosticRecord>& records) {
    for (const DiagnosticRecord& record : records) {
        if (record.state.startsWith(QStringLiteral("08")) || IsOracleConnectionLoss(record)) {
            return true;
        }
    }
    return false;
}

Failure OdbcHandleFailure(const QString& text, void* statement, void* connection) {
    const bool lost = ShowsLostConnection(DiagnosticRecords(SQL_HANDLE_STMT, statement)) ||
                      IsConnectionDead(connection);
    return lost ? Failure::ConnectionLost(text) : Failure(text);
}

}  // namespace quorvex
