#include "data/oracle_client_environment.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

namespace quorvex::test {
namespace {

// Puts the test process's own NLS_LANG back afterwards.
class OracleClientEnvironment : public ::testing::Test {
  protected:
    void SetUp() override {
        wasSet_ = qEnvironmentVariableIsSet("NLS_LANG");
        saved_ = qgetenv("NLS_LANG");
    }
    void TearDown() override {
        if (wasSet_) {
            qputenv("NLS_LANG", saved_);
        } else {
            qunsetenv("NLS_LANG");
        }
    }

  private:
    bool wasSet_ = false;
    QByteArray saved_;
};

TEST_F(OracleClientEnvironment, AnUnsetOrEmptyNlsLangBecomesUtf8AndAUsersValueStays) {
    qunsetenv("NLS_LANG");
    PrepareOracleClientEnvironment();
    EXPECT_EQ(qgetenv("NLS_LANG"), QByteArray("AMERICAN_AMERICA.AL32UTF8"));

    qputenv("NLS_LANG", QByteArray());
    PrepareOracleClientEnvironment();
    EXPECT_EQ(qgetenv("NLS_LANG"), QByteArray("AMERICAN_AMERICA.AL32UTF8"));

    qputenv("NLS_LANG", QByteArray("GERMAN_GERMANY.WE8ISO8859P1"));
    PrepareOracleClientEnvironment();
    EXPECT_EQ(qgetenv("NLS_LANG"), QByteArray("GERMAN_GERMANY.WE8ISO8859P1"));
}

}  // namespace
}  // namespace quorvex::test
