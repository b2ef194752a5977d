#include "data/oracle/odbc_driver.h"

#include "data/oracle/odbc_bound_statement.h"
#include "data/oracle/odbc_failure.h"
#include "data/oracle/odbc_record_sources.h"
#include "data/oracle/odbc_session.h"

#include <QSqlQuery>

#include <sql.h>
#include <sqlext.h>

namespace quorvex {
namespace {

// A number SQLGetInfo gives as an SQLUSMALLINT (a name length, say); 0 when the driver does not
// answer, as ODBC's own "no limit or unknown" is.
int OdbcInfoNumber(void* connection, SQLUSMALLINT info) {
    SQLUSMALLINT number = 0;
    if (connection == nullptr ||
        !SQL_SUCCEEDED(SQLGetInfo(connection, info, &number, sizeof number, nullptr))) {
        return 0;
    }
    return number;
}

class OdbcConnection : public DriverConnection {
  public:
    explicit OdbcConnection(std::shared_ptr<OdbcSession> session) : session_(std::move(session)) {}
    ~OdbcConnection() override { session_->close(); }

    void execute(const QString& statement) override {
        // The query lives only inside this block, so nothing holds the connection afterwards.
        QSqlQuery query(session_->database());
        query.setForwardOnly(true);
        if (!query.exec(statement)) throw OdbcQueryFailure(query);
    }

    void executeBound(const QString& statement, const std::vector<Value>& values) override {
        ExecuteWithBoundValues(session_->database(), statement, values);
    }

    std::unique_ptr<RecordSource> query(const QString& statement, int cursorLocation) override {
        return RunOdbcQuery(session_, statement, cursorLocation);
    }

    int maxTableNameLength() override {
        return OdbcInfoNumber(odbcConnectionHandle(), SQL_MAX_TABLE_NAME_LEN);
    }
    int maxColumnNameLength() override {
        return OdbcInfoNumber(odbcConnectionHandle(), SQL_MAX_COLUMN_NAME_LEN);
    }
    void* odbcConnectionHandle() override { return OdbcDatabaseHandle(session_->database()); }

  private:
    std::shared_ptr<OdbcSession> session_;
};

}  // namespace

std::unique_ptr<DriverConnection> OpenOdbcDriver(const QString& connectionString) {
    return std::make_unique<OdbcConnection>(OdbcSession::Open(connectionString));
}

}  // namespace quorvex
