#include "support/oracle_form_check.h"

#include <QApplication>

#include <gtest/gtest.h>

// The tables screen is built from real widgets; they need an application object.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Every statement these tests made the server run is one Oracle would take for its form.
    ::testing::AddGlobalTestEnvironment(new quorvex::test::OracleFormOfTheServerLog);
    return RUN_ALL_TESTS();
}
