#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// The shell's tests style throwaway widgets (the skin check), so they need a QApplication; and
// they must never touch the settings of the user who runs them.
int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
