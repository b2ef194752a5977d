// Start-up time to the first window, and the program's peak memory, measured on a private
// virtual X display against the floor of any Qt Widgets program: a bare window of the same size
// started the same way.
//
//   bench_startup [PROGRAM] [RUNS] [COPY_ROWS]
//
// PROGRAM defaults to the quorvex beside this benchmark; give the installed one
// (PREFIX/bin/quorvex) to measure an installation. The time runs from the spawn of the process
// to the X server's MapNotify of its first top-level window (no window manager, so the map is
// the program's own). Peak memory is the kernel's high-water mark (VmHWM) of the process at
// that moment. With the test server's environment (ODBCSYSINI, QUORVEX_TEST_SID) two more cases
// run: a start-up with a saved folder and login, which connects and lists both sides before the
// tables screen appears, and the peak memory of copying a table of COPY_ROWS rows (10,000 unless
// given; clicked through with xdotool).
#include "bench_support.h"
#include "data/paradox/field.h"
#include "data/paradox/value.h"
#include "table_writer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int copyRows = 10000;

std::string SelfFolder() {
    char path[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, length > 0 ? static_cast<size_t>(length) : 0);
    return self.substr(0, self.rfind('/'));
}

// The environment of this process with some variables replaced or added.
std::vector<std::string> Environment(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('='));
        const bool replaced = std::any_of(changes.begin(), changes.end(), [&](const auto& c) {
            return c.compare(0, name.size() + 1, name + "=") == 0;
        });
        if (!replaced && name != "QT_QPA_PLATFORM") {
            result.push_back(text);
        }
    }
    result.insert(result.end(), changes.begin(), changes.end());
    return result;
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& env) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : env) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    return pid;
}

void Stop(pid_t pid) {
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

long PeakKib(pid_t pid) { return quorvex::bench::PeakKib(QString::number(pid)); }

// A private Xvfb that picks its own display number; no window manager.
class VirtualDisplay {
  public:
    VirtualDisplay() {
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        const std::string fd = std::to_string(fds[1]);
        const std::vector<std::string> arguments = {"Xvfb", "-displayfd",   fd,          "-screen",
                                                    "0",    "1280x1024x24", "-nolisten", "tcp"};
        pid_ = Spawn(arguments, Environment({}));
        ::close(fds[1]);
        char number[16] = {};
        const ssize_t got = ::read(fds[0], number, sizeof number - 1);
        ::close(fds[0]);
        if (got > 0) {
            name_ = ":" + std::string(number, std::strcspn(number, "\n"));
        }
    }
    ~VirtualDisplay() {
        if (pid_ > 0) {
            Stop(pid_);
        }
    }
    const std::string& Name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

// Watches the root window for top-level windows being mapped.
class MapWatcher {
  public:
    explicit MapWatcher(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
        if (display_ != nullptr) {
            XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
            pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
            XSync(display_, True);
        }
    }
    ~MapWatcher() {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }
    bool Ok() const { return display_ != nullptr; }

    // The first window of `pid` mapped from now on, or nothing after the limit.
    std::optional<Window> NextMapOf(pid_t pid, std::chrono::seconds limit) {
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == MapNotify && OwnerOf(event.xmap.window) == pid) {
                    return event.xmap.window;
                }
            }
            // Sleep until the server has something to say: no busy loop competing with the
            // program being measured for the machine's cores.
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            ::poll(&connection, 1, 10);
        }
        return std::nullopt;
    }

  private:
    pid_t OwnerOf(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        pid_t owner = -1;
        if (XGetWindowProperty(display_, window, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) == Success &&
            data != nullptr) {
            if (count == 1 && format == 32) {
                owner = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
            }
            XFree(data);
        }
        return owner;
    }

    Display* display_;
    Atom pidAtom_ = None;
};

struct Sample {
    double ms = 0;
    long peakKib = 0;
};

struct Summary {
    double medianMs = 0;
    double bestMs = 0;
    long peakKib = 0;  // median
};

Summary Summarise(std::vector<Sample> samples) {
    Summary summary;
    if (samples.empty()) {
        return summary;
    }
    std::sort(samples.begin(), samples.end(), [](auto& a, auto& b) { return a.ms < b.ms; });
    summary.bestMs = samples.front().ms;
    summary.medianMs = samples[samples.size() / 2].ms;
    std::vector<long> peaks;
    for (const Sample& sample : samples) {
        peaks.push_back(sample.peakKib);
    }
    std::sort(peaks.begin(), peaks.end());
    summary.peakKib = peaks[peaks.size() / 2];
    return summary;
}

void WriteSettings(const QString& config, const QString& folder, const QString& sid) {
    QDir().mkpath(config);
    QFile file(config + QStringLiteral("/Veltrane.conf"));
    file.open(QIODevice::WriteOnly);
    file.write(
        QStringLiteral("[Quorvex]\nParadoxFolder=%1\nServer=%2\nUser=scott\nPassword=tiger\n")
            .arg(folder, sid)
            .toUtf8());
}

// Starts a program `runs` times with its own settings folder; times each to its first window.
std::vector<Sample> TimeToFirstWindow(MapWatcher& watcher, const std::vector<std::string>& command,
                                      const std::vector<std::string>& env, int runs) {
    std::vector<Sample> samples;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const pid_t pid = Spawn(command, env);
        const std::optional<Window> window = watcher.NextMapOf(pid, std::chrono::seconds(120));
        const auto mapped = Clock::now();
        const long peak = PeakKib(pid);
        Stop(pid);
        if (!window) {
            std::fprintf(stderr, "no window from %s within 120 s\n", command[0].c_str());
            std::exit(1);
        }
        samples.push_back(
            {std::chrono::duration<double, std::milli>(mapped - start).count(), peak});
    }
    return samples;
}

void Print(const char* what, const Summary& summary) {
    std::printf("%-44s %9.1f ms %9.1f ms %9.1f MiB\n", what, summary.medianMs, summary.bestMs,
                summary.peakKib / 1024.0);
}

void WriteBigTable(const QString& path) {
    namespace px = quorvex::paradox;
    quorvex::pxwriter::TableDesign design;
    design.fields = {{"ID", px::FieldType::Long, 0},
                     {"NAME", px::FieldType::Alpha, 40},
                     {"AMOUNT", px::FieldType::Number, 0},
                     {"NOTES", px::FieldType::Memo, 30}};
    quorvex::pxwriter::TableWriter writer(path.toStdString(), design);
    for (int row = 1; row <= copyRows; ++row) {
        writer.addRow(
            {px::Value::Integer(row), px::Value::Text("Customer " + std::to_string(row)),
             px::Value::Number(row * 1.25),
             px::Value::Text("Notes of row " + std::to_string(row) + std::string(80, '.'))});
    }
    writer.finish();
}

long long ServerCount(const QString& sid, const QString& table) {
    long long count = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("count"));
        db.setDatabaseName(QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=") + sid +
                           QStringLiteral(";Uid=scott;Pwd=tiger;"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)) &&
                query.next()) {
                count = query.value(0).toLongLong();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return count;
}

void DropOnServer(const QString& sid, const QString& table) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("drop"));
        db.setDatabaseName(QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=") + sid +
                           QStringLiteral(";Uid=scott;Pwd=tiger;"));
        if (db.open()) {
            QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(table));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("drop"));
}

int TwipsToPixels(int twips) { return (twips * 2 + 15) / 30; }

// Peak memory of the program copying a 10,000-row table: the tables screen opens by itself with
// the saved login, the table is clicked, then "Send Table/s To Oracle".
Sample CopyPeak(MapWatcher& watcher, const std::string& program,
                const std::vector<std::string>& env, const QString& sid) {
    DropOnServer(sid, QStringLiteral("BIG"));
    const pid_t pid = Spawn({program}, env);
    const std::optional<Window> window = watcher.NextMapOf(pid, std::chrono::seconds(120));
    if (!window) {
        Stop(pid);
        std::fprintf(stderr, "the tables screen did not appear\n");
        std::exit(1);
    }
    const std::string id = std::to_string(*window);
    const auto click = [&](int x, int y) {
        const pid_t xdotool = Spawn({"xdotool", "mousemove", "--sync", "--window", id,
                                     std::to_string(x), std::to_string(y), "click", "1"},
                                    env);
        int status = 0;
        ::waitpid(xdotool, &status, 0);
    };
    // The Paradox list's first entry, then the send button (frame at 4080,120 twips).
    click(TwipsToPixels(4080 + 240) + 20, TwipsToPixels(120 + 360) + 8);
    const auto start = Clock::now();
    click(TwipsToPixels(4080 + 240 + 3330 / 2), TwipsToPixels(120 + 2600 + 405 / 2));
    const auto deadline = start + std::chrono::minutes(20);
    while (ServerCount(sid, QStringLiteral("BIG")) != copyRows) {
        if (Clock::now() > deadline) {
            Stop(pid);
            std::fprintf(stderr, "the copy did not finish within 20 minutes\n");
            std::exit(1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const auto done = Clock::now();
    const Sample sample{std::chrono::duration<double, std::milli>(done - start).count(),
                        PeakKib(pid)};
    Stop(pid);
    DropOnServer(sid, QStringLiteral("BIG"));
    return sample;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0) {
        // The floor: Qt Widgets and the X connection, one window of the connection screen's size.
        QApplication app(argc, argv);
        QWidget window;
        window.setWindowTitle(QStringLiteral("Quorvex"));
        window.setFixedSize(TwipsToPixels(8040), TwipsToPixels(4755));
        window.show();
        return QApplication::exec();
    }
    QCoreApplication app(argc, argv);
    const std::string program = argc > 1 ? argv[1] : SelfFolder() + "/quorvex";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    copyRows = argc > 3 ? std::max(1, std::atoi(argv[3])) : copyRows;
    if (::access(program.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "no program at %s\n", program.c_str());
        return 1;
    }

    VirtualDisplay display;
    if (display.Name().empty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    MapWatcher watcher(display.Name());
    if (!watcher.Ok()) {
        std::fprintf(stderr, "cannot reach display %s\n", display.Name().c_str());
        return 1;
    }
    QTemporaryDir scratch;
    const QString config = scratch.filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    const QString runtime = scratch.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const std::vector<std::string> env =
        Environment({"DISPLAY=" + display.Name(), "XDG_CONFIG_HOME=" + config.toStdString(),
                     "XDG_RUNTIME_DIR=" + runtime.toStdString()});

    std::printf("program: %s\ndisplay: Xvfb %s, no window manager; %d runs per case\n\n",
                program.c_str(), display.Name().c_str(), runs);
    std::printf("%-44s %12s %12s %13s\n", "case", "median", "best", "peak memory");

    // Interleaved rounds, so load from other work on the machine falls on both alike.
    std::vector<Sample> bare;
    std::vector<Sample> firstRun;
    const std::string self = SelfFolder() + "/bench_startup";
    for (int run = 0; run < runs; ++run) {
        const auto b = TimeToFirstWindow(watcher, {self, "--bare-window"}, env, 1);
        const auto f = TimeToFirstWindow(watcher, {program}, env, 1);
        bare.push_back(b[0]);
        firstRun.push_back(f[0]);
    }
    const Summary bareSummary = Summarise(bare);
    const Summary firstSummary = Summarise(firstRun);
    Print("bare Qt window (the floor)", bareSummary);
    Print("first run: the connection screen", firstSummary);

    const QString sid = qEnvironmentVariable("QUORVEX_TEST_SID");
    std::optional<Summary> savedSummary;
    std::optional<Sample> copy;
    if (!sid.isEmpty() && !qEnvironmentVariableIsEmpty("ODBCSYSINI")) {
        // The sample folder beside the program and the test server's login, saved.
        const QString programDir = QString::fromStdString(program.substr(0, program.rfind('/')));
        const QString samples =
            QFileInfo(programDir + QStringLiteral("/Samples")).canonicalFilePath();
        WriteSettings(config, samples, sid);
        savedSummary = Summarise(TimeToFirstWindow(watcher, {program}, env, runs));
        Print("saved login: tables screen, both lists filled", *savedSummary);

        const QString tables = scratch.filePath(QStringLiteral("tables"));
        QDir().mkpath(tables);
        WriteBigTable(tables + QStringLiteral("/BIG.DB"));
        WriteSettings(config, tables, sid);
        copy = CopyPeak(watcher, program, env, sid);
        const std::string copyCase =
            "copying " + std::to_string(copyRows) + " rows (memo included)";
        std::printf("%-44s %9.1f ms %12s %9.1f MiB\n", copyCase.c_str(), copy->ms, "",
                    copy->peakKib / 1024.0);
    } else {
        std::printf(
            "(no test server in the environment: the saved-login and copy cases are "
            "left out)\n");
    }

    std::printf("\nratios to the bare Qt window (median time, median peak memory):\n");
    std::printf("  first run:   time %.2f, memory %.2f\n",
                firstSummary.medianMs / bareSummary.medianMs,
                static_cast<double>(firstSummary.peakKib) / bareSummary.peakKib);
    if (savedSummary) {
        std::printf("  saved login: time %.2f, memory %.2f\n",
                    savedSummary->medianMs / bareSummary.medianMs,
                    static_cast<double>(savedSummary->peakKib) / bareSummary.peakKib);
    }
    if (copy) {
        std::printf("  copy peak:   memory %.2f\n",
                    static_cast<double>(copy->peakKib) / bareSummary.peakKib);
    }
    return 0;
}
