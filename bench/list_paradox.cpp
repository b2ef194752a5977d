// Lists the Paradox tables of a generated tree of 10,000 folders and 50,000 files, and times it
// against `find DIR -iname '*.db'` on the same tree in the same run (both with a warm cache, best
// of several runs). Prints the figures and the ratio; the tree is removed at the end.
//
//   bench_list_paradox [FOLDERS_PER_LEVEL=100] [RUNS=5]

#include "bench_support.h"
#include "data/core/connection_fields.h"
#include "shell/table_listing.h"
#include "screens/table_list_widget.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;
using quorvex::bench::CountingList;

struct FolderField : quorvex::ConnectionFields {
    QString folder;
    QString Text1() const override { return folder; }
    QString Text2() const override { return {}; }
    QString Text3() const override { return {}; }
    QString Text4() const override { return {}; }
};

void Touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
    if (fd >= 0) {
        ::close(fd);
    }
}

// `width` top folders with `width - 1` subfolders each, five files in every folder: three
// tables (".db", ".DB", ".Db") and two other files.
int MakeTree(const QByteArray& root, int width, int& folders) {
    const char* suffixes[] = {".db", ".DB", ".Db", ".PX", ".MB"};
    int files = 0;
    folders = 0;
    const auto fill = [&](const QByteArray& folder) {
        ::mkdir(folder.constData(), 0755);
        ++folders;
        for (int f = 0; f < 5; ++f) {
            Touch(folder + "/t" + QByteArray::number(folders) + "_" + QByteArray::number(f) +
                  suffixes[f]);
            ++files;
        }
    };
    for (int top = 0; top < width; ++top) {
        const QByteArray topFolder = root + "/top" + QByteArray::number(top);
        fill(topFolder);
        for (int sub = 0; sub < width - 1; ++sub) {
            fill(topFolder + "/sub" + QByteArray::number(sub));
        }
    }
    return files;
}

double BestSeconds(int runs, const std::function<void()>& body) {
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        body();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int width = argc > 1 ? std::max(2, std::atoi(argv[1])) : 100;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    QTemporaryDir dir(QStringLiteral("/tmp/quorvex-bench-XXXXXX"));
    const QByteArray root = QFile::encodeName(dir.path());
    int folders = 0;
    const int files = MakeTree(root, width, folders);
    std::printf("tree: %d folders, %d files under %s\n", folders, files, root.constData());

    const QByteArray findCommand = "find '" + root + "' -iname '*.db' > /dev/null";
    std::system(findCommand.constData());  // warm the cache
    const double findSeconds = BestSeconds(runs, [&] { std::system(findCommand.constData()); });

    FolderField field;
    field.folder = dir.path();
    int tables = 0;
    const double walkSeconds = BestSeconds(runs, [&] {
        CountingList counted;
        quorvex::LoadParadoxTables(counted, field);
        tables = counted.count;
    });
    int shown = 0;
    const double widgetSeconds = BestSeconds(runs, [&] {
        quorvex::TableListWidget list;
        quorvex::LoadParadoxTables(list, field);
        shown = list.ListCount();
    });

    std::printf("find -iname '*.db':                     %8.1f ms\n", findSeconds * 1e3);
    std::printf("LoadParadoxTables, counting list:       %8.1f ms  (%d tables)\n",
                walkSeconds * 1e3, tables);
    std::printf("LoadParadoxTables, the sorted list box: %8.1f ms  (%d entries)\n",
                widgetSeconds * 1e3, shown);
    std::printf("ratio to find: walk %.2f, with the list box %.2f\n", walkSeconds / findSeconds,
                widgetSeconds / findSeconds);
    return tables == shown && tables == folders * 3 ? 0 : 1;
}
