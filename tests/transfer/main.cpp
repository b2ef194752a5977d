#include "support/oracle_form_check.h"

#include <QApplication>

#include <gtest/gtest.h>

// The end-to-end tests drive the command through the tables screen's real list widgets, which
// need an application object (ctest runs them on the offscreen platform).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Every statement these tests made the server run is one Oracle would take for its form.
    ::testing::AddGlobalTestEnvironment(new quorvex::test::OracleFormOfTheServerLog);
    return RUN_ALL_TESTS();
}
