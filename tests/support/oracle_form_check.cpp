#include "support/oracle_form_check.h"

#include "support/oracle_statement_rules.h"
#include "support/test_server.h"

namespace quorvex::test {

void ExpectOracleForm(const QList<LogEntry>& entries, const QString& log) {
    for (const QString& violation :
         CheckOracleForm(entries, OracleFormLimitsFromEnvironment()).violations) {
        ADD_FAILURE() << "Oracle would refuse a statement in " << log.toStdString() << ": "
                      << violation.toStdString();
    }
}

void OracleFormOfTheServerLog::SetUp() { start_ = TestServerLogSize(); }

void OracleFormOfTheServerLog::TearDown() {
    ExpectOracleForm(ServerLogEntriesSince(start_), TestServerLogPath());
}

}  // namespace quorvex::test
