#include "data/oracle/odbc_bound_statement.h"

#include "data/core/failure.h"
#include "data/oracle/odbc_failure.h"
#include "data/oracle/odbc_statement.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

namespace quorvex {
namespace {

// Why the values are not bound through QSqlQuery::addBindValue:
//
// Qt 6.4's ODBC driver binds every QString longer than 254 bytes of UTF-16 (127 characters) as
// SQL_WLONGVARCHAR, with its size in bytes as the column size. Oracle's ODBC driver sends such a
// parameter as LONG data, which Oracle takes only into a LONG column: into an NVARCHAR2 column
// the row fails with ORA-01461. A text is bound here as SQL_WVARCHAR instead, its column size
// in characters (UTF-16 code units), so a text of up to 2,000 characters is ordinary national
// character data of at most 4,000 bytes (AL16UTF16), which an NVARCHAR2(2000) column takes
// whatever the database character set. A longer text exceeds the column itself (ORA-12899) and
// its row is reported like any refused row.
//
// Bytes are bound as SQL_LONGVARBINARY, the long binary bind ODBC and Oracle's driver document
// for a BLOB column, with the byte count as the column size. RAW, which SQL_VARBINARY stands
// for, holds 2,000 bytes, and a driver may refuse a larger column size for it (HY104). Only byte
// values over 2,000 bytes are bound at all (shorter ones are hex literals), and Oracle takes them
// as LONG RAW data, which it writes into a BLOB column on INSERT at any length. The test server's
// driver (psqlODBC) takes this bind into a bytea column only, which is what its BLOB columns are.
//
// The statement runs with SQLExecDirectW on a statement handle of its own, allocated on the
// connection handle Qt uses: the statement and its values travel in one exchange, on the same
// session (autocommit, session settings) as every other statement of the connection.

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t),
              "the driver manager's wide characters are UTF-16");

SQLHDBC ConnectionHandle(const QSqlDatabase& database) {
    void* const handle = OdbcDatabaseHandle(database);
    if (handle == nullptr) {
        throw Failure(QStringLiteral("The connection has no ODBC handle to bind values on."));
    }
    return handle;
}

// One bound value and the buffers the driver reads while the statement executes.
struct BoundBuffer {
    QByteArray bytes;
    QString text;
    SQLLEN length = 0;
};

void Bind(const OdbcStatement& statement, SQLUSMALLINT number, const Value& value,
          BoundBuffer& buffer) {
    switch (value.kind()) {
        case Value::Kind::Bytes:
            buffer.bytes = value.toBytes();
            buffer.length = buffer.bytes.size();
            statement.Check(SQLBindParameter(
                statement.get(), number, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY,
                static_cast<SQLULEN>(buffer.bytes.size()), 0,
                const_cast<char*>(buffer.bytes.constData()), buffer.length, &buffer.length));
            return;
        case Value::Kind::Text:
            buffer.text = value.toText();
            buffer.length = buffer.text.size() * static_cast<SQLLEN>(sizeof(SQLWCHAR));
            statement.Check(SQLBindParameter(
                statement.get(), number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                static_cast<SQLULEN>(buffer.text.size()), 0,
                const_cast<char16_t*>(reinterpret_cast<const char16_t*>(buffer.text.utf16())),
                buffer.length, &buffer.length));
            return;
        default:
            throw Failure(QStringLiteral("Only texts and bytes are bound to a statement."));
    }
}

}  // namespace

void ExecuteWithBoundValues(const QSqlDatabase& database, const QString& statement,
                            const std::vector<Value>& values) {
    const OdbcStatement handle(ConnectionHandle(database));
    // Bound buffers must not move until the statement has run.
    std::vector<BoundBuffer> buffers(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        Bind(handle, static_cast<SQLUSMALLINT>(i + 1), values[i], buffers[i]);
    }
    handle.Check(SQLExecDirectW(
        handle.get(), const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(statement.utf16())),
        static_cast<SQLINTEGER>(statement.size())));
}

}  // namespace quorvex
