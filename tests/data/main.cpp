#include <gtest/gtest.h>

#include <QCoreApplication>

#include <string>

// The data tests run child processes of this program (QProcess) and use Qt SQL, both of which
// want an application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The child half of a driver registry test runs only in the child process that test starts
    // (with QUORVEX_RESOLUTION_CHILD set); an ordinary run leaves it out rather than skip it.
    if (qEnvironmentVariableIsEmpty("QUORVEX_RESOLUTION_CHILD")) {
        std::string filter = GTEST_FLAG_GET(filter);
        filter += filter.find('-') == std::string::npos ? "-" : ":";
        GTEST_FLAG_SET(filter, filter + "OdbcDriverResolutionChild.*");
    }
    return RUN_ALL_TESTS();
}
