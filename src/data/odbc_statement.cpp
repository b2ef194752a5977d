#include "data/odbc_statement.h"

#include "data/failure.h"
#include "data/odbc_failure.h"
#include "data/odbc_values.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <vector>

namespace quorvex {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t),
              "the driver manager's wide characters are UTF-16");

QString OdbcDiagnosticText(short handleType, void* handle) {
    QString text;
    QString previous;
    for (SQLSMALLINT record = 1; record <= kMostDiagnosticRecords; ++record) {
        SQLWCHAR state[6];
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, record, state, &nativeError, nullptr,
                                          0, &length))) {
            break;
        }
        std::vector<SQLWCHAR> message(static_cast<size_t>(length) + 1);
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, record, state, &nativeError,
                                          message.data(), static_cast<SQLSMALLINT>(message.size()),
                                          &length))) {
            break;
        }
        const QString part = QString::fromUtf16(reinterpret_cast<const char16_t*>(message.data()),
                                                qMin<qsizetype>(length, message.size() - 1));
        if (!part.isEmpty() && part != previous) {
            if (!text.isEmpty()) text += u' ';
            text += part;
            previous = part;
        }
    }
    return OdbcMessageText(text);
}

OdbcStatement::OdbcStatement(void* connection) : connection_(connection) {
    if (connection == nullptr) {
        throw Failure(QStringLiteral("The connection has no ODBC handle to run a statement on."));
    }
    SQLHANDLE handle = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &handle))) {
        throw OdbcHandleFailure(OdbcDiagnosticText(SQL_HANDLE_DBC, connection), nullptr,
                                connection);
    }
    handle_ = handle;
}

OdbcStatement::~OdbcStatement() { SQLFreeHandle(SQL_HANDLE_STMT, handle_); }

void OdbcStatement::Check(short result) const {
    if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA) {
        throw LastFailure();
    }
}

Failure OdbcStatement::LastFailure() const {
    return OdbcHandleFailure(OdbcDiagnosticText(SQL_HANDLE_STMT, handle_), handle_, connection_);
}

}  // namespace quorvex
