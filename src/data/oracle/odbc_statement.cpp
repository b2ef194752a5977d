#include "data/oracle/odbc_statement.h"

#include "data/core/failure.h"
#include "data/oracle/odbc_failure.h"
#include "data/oracle/odbc_values.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

namespace quorvex {

QString OdbcDiagnosticText(short handleType, void* handle) {
    QString text;
    QString previous;
    for (const DiagnosticRecord& record : DiagnosticRecords(handleType, handle)) {
        if (!record.message.isEmpty() && record.message != previous) {
            if (!text.isEmpty()) text += u' ';
            text += record.message;
            previous = record.message;
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
