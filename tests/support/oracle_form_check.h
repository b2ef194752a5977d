#pragma once

#include "support/server_log.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdint>

namespace quorvex::test {

// Fails the current test (or, from an environment, the test program) once for every statement
// among a server log's entries that Oracle would refuse for its form
// (support/oracle_statement_rules.h), with the limits the environment sets
// (OracleFormLimitsFromEnvironment). `log` names the log in the message.
void ExpectOracleForm(const QList<LogEntry>& entries, const QString& log);

// Checks everything the shared test server logged while a test program ran: register it in the
// program's main() with ::testing::AddGlobalTestEnvironment.
class OracleFormOfTheServerLog : public ::testing::Environment {
  public:
    void SetUp() override;
    void TearDown() override;

  private:
    std::int64_t start_ = 0;
};

}  // namespace quorvex::test
