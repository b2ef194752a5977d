#include "data/oracle/oracle_client_environment.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

namespace quorvex::test {
namespace {

TEST(OracleClientEnvironment, AnUnsetOrEmptyNlsLangBecomesUtf8AndAUsersValueStays) {
    const bool wasSet = qEnvironmentVariableIsSet("NLS_LANG");
    const QByteArray saved = qgetenv("NLS_LANG");
    const QByteArray utf8("AMERICAN_AMERICA.AL32UTF8");
    const QByteArray users("GERMAN_GERMANY.WE8ISO8859P1");
    for (const QByteArray& before : {QByteArray(), users}) {
        qputenv("NLS_LANG", before);
        PrepareOracleClientEnvironment();
        EXPECT_EQ(qgetenv("NLS_LANG"), before.isEmpty() ? utf8 : users);
    }
    qunsetenv("NLS_LANG");
    PrepareOracleClientEnvironment();
    EXPECT_EQ(qgetenv("NLS_LANG"), utf8);
    wasSet ? qputenv("NLS_LANG", saved) : qunsetenv("NLS_LANG");
}

}  // namespace
}  // namespace quorvex::test
