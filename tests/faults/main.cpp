#include "support/oracle_form_check.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// The fault tests run the program's real windows (offscreen), so they need a QApplication. The
// settings of the person running them are never touched: the store points at a fresh folder.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Every statement these tests made the server run is one Oracle would take for its form.
    ::testing::AddGlobalTestEnvironment(new quorvex::test::OracleFormOfTheServerLog);
    return RUN_ALL_TESTS();
}
