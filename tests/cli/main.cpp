#include "support/oracle_form_check.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// The command-line tests run the program as a child process (QProcess) and read the test server
// through Qt SQL, both of which want an application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Every statement the program sent in these tests is one Oracle would take for its form.
    ::testing::AddGlobalTestEnvironment(new quorvex::test::OracleFormOfTheServerLog);
    return RUN_ALL_TESTS();
}
