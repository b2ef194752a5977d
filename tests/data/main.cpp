#include <gtest/gtest.h>

#include <QCoreApplication>

// The data tests run child processes of this program (QProcess) and use Qt SQL, both of which
// want an application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
