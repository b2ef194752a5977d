#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace quorvex::test {

// The test program started again as a child process, to see what a fresh run of the program
// does: "--child=restore" runs the connection screen's start-up and prints the four fields;
// "--child=close" closes the connection screen while a command lets events run.
inline const QString kRestoreMode = QStringLiteral("restore");
inline const QString kCloseMode = QStringLiteral("close");
inline const QString kStillRunning = QStringLiteral("STILL RUNNING");
inline const QString kOtherWindowClosed = QStringLiteral("OTHER WINDOW CLOSED");

// The mode named on the command line, or "" for a normal test run.
QString ChildMode(int argc, char** argv);
int RunChildMode(const QString& mode);

struct ChildResult {
    int exitCode = -1;
    bool finished = false;
    QStringList lines;  // standard output
};

// Runs this test program in a mode with the given settings folder and waits for it to end.
ChildResult RunChild(const QString& mode, const QString& configFolder);

}  // namespace quorvex::test
