#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

class QProcess;

namespace quorvex::test {

// The program built beside the tests, run as a user runs it from a shell: no display, its
// settings in `configFolder`, the test server's driver registry inherited, and the password in
// QUORVEX_PASSWORD unless `password` is empty.
QStringList ProgramEnvironment(const QString& configFolder, const QString& password);

struct ProgramRun {
    int exitStatus = -1;  // -1 when it did not end normally
    QString out;
    QString err;
};

// Starts the program without a terminal: pipes for all three standard streams, and a session
// of its own, so that it has no controlling terminal (/dev/tty) to ask on either. A positive
// `fileSizeLimit` is the most bytes it may write to a file (ulimit -f), as on a full disk.
void StartProgram(QProcess& process, const QStringList& arguments, const QStringList& environment,
                  long fileSizeLimit = 0);

// Runs the program as StartProgram starts it, to its end.
ProgramRun RunProgram(const QStringList& arguments, const QStringList& environment,
                      long fileSizeLimit = 0);

// The program on a pseudo-terminal of its own, as in an interactive shell: it asks there, and
// Ctrl+C typed there reaches it.
class ProgramOnTerminal {
  public:
    ProgramOnTerminal(const QStringList& arguments, const QStringList& environment);
    ~ProgramOnTerminal();
    ProgramOnTerminal(const ProgramOnTerminal&) = delete;
    ProgramOnTerminal& operator=(const ProgramOnTerminal&) = delete;

    // Reads what the program shows until it holds `text`; false when the program ended first.
    bool WaitFor(const QString& text);
    void Type(const QByteArray& keys);
    // The arguments of the running process as the system shows them to anyone
    // (/proc/PID/cmdline), NULs turned into spaces.
    QString VisibleCommandLine() const;
    // Waits for the end; the exit status, or -1 when it did not exit normally.
    int Wait();
    // Everything shown on the terminal so far.
    QString Shown() const { return QString::fromUtf8(shown_); }

  private:
    bool ReadSome();

    pid_t pid_ = -1;
    int terminal_ = -1;
    QByteArray shown_;
};

}  // namespace quorvex::test
