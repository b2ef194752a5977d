#include "program_run.h"

#include "support/exec_texts.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>

#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {

namespace {

const QString kProgram = QStringLiteral(QUORVEX_BIN_DIR "/quorvex");
constexpr int kWaitMs = 300000;  // a shared machine can be very slow; no test should wait this long

}  // namespace

QStringList ProgramEnvironment(const QString& configFolder, const QString& password) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(display));
    }
    environment.remove(QStringLiteral("QUORVEX_PASSWORD"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
    if (!password.isEmpty()) {
        environment.insert(QStringLiteral("QUORVEX_PASSWORD"), password);
    }
    return environment.toStringList();
}

void StartProgram(QProcess& process, const QStringList& arguments, const QStringList& environment,
                  long fileSizeLimit) {
    process.setEnvironment(environment);
    process.setChildProcessModifier([fileSizeLimit] {
        ::setsid();
        if (fileSizeLimit > 0) {
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit),
                               static_cast<rlim_t>(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
    process.start(kProgram, arguments);
    process.closeWriteChannel();
}

ProgramRun RunProgram(const QStringList& arguments, const QStringList& environment,
                      long fileSizeLimit) {
    QProcess process;
    StartProgram(process, arguments, environment, fileSizeLimit);
    ProgramRun run;
    if (!process.waitForFinished(kWaitMs)) {
        process.kill();
        process.waitForFinished();
    }
    run.exitStatus = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ProgramOnTerminal::ProgramOnTerminal(const QStringList& arguments, const QStringList& environment) {
    // Everything the child needs is made before the fork: after it, only exec.
    const ExecTexts exec(kProgram, arguments, environment);
    pid_ = ::forkpty(&terminal_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
        ::execve(exec.argv()[0], exec.argv(), exec.envp());
        ::_exit(127);
    }
    EXPECT_GT(pid_, 0) << "forkpty failed";
}

ProgramOnTerminal::~ProgramOnTerminal() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (terminal_ >= 0) {
        ::close(terminal_);
    }
}

bool ProgramOnTerminal::ReadSome() {
    pollfd wait{terminal_, POLLIN, 0};
    if (::poll(&wait, 1, kWaitMs) <= 0) {
        return false;
    }
    char buffer[4096];
    const ssize_t got = ::read(terminal_, buffer, sizeof buffer);
    if (got <= 0) {
        return false;  // EIO: the program closed the terminal
    }
    shown_.append(buffer, got);
    return true;
}

bool ProgramOnTerminal::WaitFor(const QString& text) {
    while (!shown_.contains(text.toUtf8())) {
        if (!ReadSome()) {
            return false;
        }
    }
    return true;
}

void ProgramOnTerminal::Type(const QByteArray& keys) {
    ASSERT_EQ(::write(terminal_, keys.constData(), static_cast<size_t>(keys.size())), keys.size());
}

QString ProgramOnTerminal::VisibleCommandLine() const {
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid_));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromLocal8Bit(file.readAll().replace('\0', ' '));
}

int ProgramOnTerminal::Wait() {
    while (ReadSome()) {
    }
    int status = 0;
    const pid_t ended = ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace quorvex::test
