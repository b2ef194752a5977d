#include <gtest/gtest.h>

#include <QCoreApplication>

// The command-line tests run the program as a child process (QProcess) and read the test server
// through Qt SQL, both of which want an application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
