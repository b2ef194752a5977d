#include "data/odbc_driver.h"

#include "data/odbc_bound_statement.h"
#include "data/odbc_failure.h"
#include "data/odbc_record_sources.h"
#include "data/odbc_session.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace quorvex {
namespace {

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

    void* odbcConnectionHandle() override {
        const QSqlDriver* driver = session_->database().driver();
        return driver != nullptr ? OdbcHandle(driver->handle()) : nullptr;
    }

  private:
    std::shared_ptr<OdbcSession> session_;
};

}  // namespace

std::unique_ptr<DriverConnection> OpenOdbcDriver(const QString& connectionString) {
    return std::make_unique<OdbcConnection>(OdbcSession::Open(connectionString));
}

}  // namespace quorvex
