#include "child_modes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// The connection screen's tests run real widgets, so they need a QApplication. The same program
// also plays the restarted program in child processes (see child_modes.h); a child keeps the
// settings folder its parent gave it, a test run gets a fresh one.
int main(int argc, char** argv) {
    const QString mode = quorvex::test::ChildMode(argc, argv);
    QTemporaryDir config;
    if (mode.isEmpty()) {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    if (!mode.isEmpty()) {
        return quorvex::test::RunChildMode(mode);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
