#include <QApplication>

#include <gtest/gtest.h>

// The Oracle listing fills the real list widget, and Qt SQL loads its ODBC plugin through the
// application object, so the tests run inside one.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
