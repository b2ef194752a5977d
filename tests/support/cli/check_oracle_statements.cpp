// Checks a test server's statement log for statements Oracle would refuse for their form or
// their bound values (see support/oracle_statement_rules.h): the end-to-end test runs it once
// over its server's log.
//
//   check_oracle_statements LOG
//
// QUORVEX_CHECK_NAME_LIMIT and QUORVEX_CHECK_CHARACTER_SET read the log as an older or a
// non-Unicode server would (OracleFormLimitsFromEnvironment).
//
// Lists each such statement on standard error; exits 0 when there is none, 1 when there is, 2
// when the log cannot be read.

#include "support/oracle_statement_rules.h"

#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_oracle_statements LOG\n");
        return 2;
    }
    const QString log = QString::fromLocal8Bit(argv[1]);
    if (!QFileInfo(log).isReadable()) {
        std::fprintf(stderr, "check_oracle_statements: cannot read %s\n", argv[1]);
        return 2;
    }
    using namespace quorvex::test;
    const OracleFormCheck check =
        CheckOracleForm(ReadServerLog(log, 0), OracleFormLimitsFromEnvironment());
    for (const QString& violation : check.violations) {
        std::fprintf(stderr, "Oracle would refuse: %s\n", qPrintable(violation));
    }
    std::printf("%d statements checked, %lld that Oracle would refuse for their form\n",
                check.statements, static_cast<long long>(check.violations.size()));
    return check.violations.isEmpty() ? 0 : 1;
}
