#pragma once

// What several benchmarks share: dialogs that count failure reports, this process's CPU time, a
// process's peak memory, the program run as a whole process, and the test server's login.

#include "shell/table_list.h"
#include "shell/ui.h"
#include "support/exec_texts.h"
#include "support/recording_ui.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace quorvex::bench {

// Answers every question with one answer and counts the failure reports ("Application Error");
// a run with any is not a valid measurement. The first `printed` reports go to stderr, each after
// `prefix`; the rest are only counted.
class CountingDialogs : public Dialogs {
  public:
    explicit CountingDialogs(int answer, int printed = std::numeric_limits<int>::max(),
                             const char* prefix = "failure report: ")
        : answer_(answer), printed_(printed), prefix_(prefix) {}

    int MsgBox(const QString& text, int, const QString& title) override {
        if (title == QStringLiteral("Application Error")) {
            ++errors;
            if (errors <= printed_) {
                std::fprintf(stderr, "%s%s\n", prefix_, qPrintable(text));
            }
        }
        return answer_;
    }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString BrowseForFolder(const QString&) override { return {}; }

    int errors = 0;

  private:
    int answer_;
    int printed_;
    const char* prefix_;
};

// Counts entries without keeping them: a listing into it times the walk alone.
struct CountingList : TableList {
    int count = 0;
    int ListCount() const override { return count; }
    QString List(int) const override { return {}; }
    bool Selected(int) const override { return false; }
    void SetSelected(int, bool) override {}
    int SelCount() const override { return 0; }
    int ListIndex() const override { return -1; }
    void SetListIndex(int) override {}
    void AddItem(const QString&) override { ++count; }
    int NewIndex() const override { return count - 1; }
    int ItemData(int) const override { return 0; }
    void SetItemData(int, int) override {}
    void RemoveItem(int) override { --count; }
    void Clear() override { count = 0; }
};

// The user and system time in `usage`, in seconds.
inline double UsageSeconds(const rusage& usage) {
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU time of this process (all threads), in seconds: what the program itself spends, whatever
// the server and the other programs of a busy machine do meanwhile.
inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return UsageSeconds(usage);
}

// The peak resident set (VmHWM) of a process of this machine, "self" for this one; -1 once it
// has ended.
inline long PeakKib(const QString& process) {
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

// One whole process of the program.
struct ProgramProcess {
    double seconds = 0;     // from its spawn to its end
    double cpuSeconds = 0;  // its own user and system time
    long peakKib = -1;      // its peak resident set
    int exitStatus = -1;    // -1 when it did not exit normally
};

// Runs the program beside the benchmark (`quorvex ARGUMENTS`) as a user runs it: no settings of
// its own (an empty settings folder), the test server's password in QUORVEX_PASSWORD, the driver
// registry of the environment, standard output thrown away. The peak is the child's own
// high-water mark, read every 10 ms while it runs: wait4's ru_maxrss would carry over this
// benchmark's own peak, which the spawned process inherits until its exec.
inline ProgramProcess RunProgramProcess(const QStringList& arguments) {
    const QTemporaryDir settings(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
    const test::ExecTexts exec(QCoreApplication::applicationDirPath() + QStringLiteral("/quorvex"),
                               arguments,
                               {QStringLiteral("QUORVEX_PASSWORD=tiger"),
                                QStringLiteral("XDG_CONFIG_HOME=") + settings.path(),
                                QStringLiteral("ODBCSYSINI=") + qEnvironmentVariable("ODBCSYSINI"),
                                QStringLiteral("PATH=") + qEnvironmentVariable("PATH")});
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (::posix_spawn(&pid, exec.argv()[0], &actions, nullptr, exec.argv(), exec.envp()) != 0) {
        std::fprintf(stderr, "cannot start %s\n", exec.argv()[0]);
        std::exit(1);
    }
    ProgramProcess run;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t ended = ::wait4(pid, &status, WNOHANG, &usage);
        if (ended == pid) {
            break;
        }
        if (ended == 0) {
            run.peakKib = std::max(run.peakKib, PeakKib(QString::number(pid)));
            ::usleep(10000);
        } else if (errno != EINTR) {
            std::fprintf(stderr, "cannot wait for quorvex: %s\n", std::strerror(errno));
            std::exit(1);
        }
    }
    run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    posix_spawn_file_actions_destroy(&actions);
    run.cpuSeconds = UsageSeconds(usage);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The test server's login (QUORVEX_TEST_SID, scott/tiger), with `folder` as the Paradox folder.
inline test::FixedFields Login(const QString& folder = {}) {
    test::FixedFields fields;
    fields.folder = folder;
    fields.sid = qEnvironmentVariable("QUORVEX_TEST_SID");
    fields.user = QStringLiteral("scott");
    fields.password = QStringLiteral("tiger");
    return fields;
}

}  // namespace quorvex::bench
