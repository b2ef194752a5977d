// The commands of the tables screen on large lists, on the real list widget (hidden, offscreen)
// and real folders:
//
// - "Select All" and "Deselect All" on lists of the given sizes, the time per entry beside the
//   size (it must not grow with the list);
// - Paradox "Delete Table/s" of every table of a folder, against `rm` of the same data files in
//   the same run;
// - Paradox "Delete Table/s" of tables listed only from a subfolder of a folder that holds as
//   many tables of its own: nothing goes, one report names them, and the command walks the tree
//   once to find their subfolder, against the listing of the same folder;
// - with the test server in the environment (ODBCSYSINI, QUORVEX_TEST_SID), Oracle "Delete
//   Table/s" of the given number of tables, against a bare loop of the same DROP TABLE statements.
//
//   bench_large_lists [--select 1000,10000,100000] [--delete 1000,5000] [--subfolder 50000]
//                     [--oracle 3000] [--rounds 3] [--shown 1]
//
// A size list of 0 skips that part. With --shown 1 the lists are shown (still offscreen), so the
// view also lays out and paints what the commands change. Each figure is the best of the rounds.
// The time of a command includes the pending window events run after it, so work a list leaves for
// later is counted.

#include "bench_support.h"
#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "shell/table_listing.h"
#include "manage/table_commands.h"
#include "screens/table_list_widget.h"
#include "screens/tables_screen_commands.h"
#include "support/recording_ui.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using namespace quorvex;
using namespace quorvex::bench;
using Clock = std::chrono::steady_clock;

bool shown = false;  // the lists on the (offscreen) screen rather than hidden

// A list of the size of the tables screen's, shown or hidden as asked.
void Place(TableListWidget& list) {
    list.resize(222, 109);
    if (shown) {
        list.show();
    }
}

// Dialogs that answer OK and print only the first few failure reports of a run.
CountingDialogs QuietDialogs() { return CountingDialogs(vbOK, 3); }

// The tables screen as the commands see it, with the real list widgets.
struct BenchScreen {
    explicit BenchScreen(const test::FixedFields& login) : fields(login) {}
    test::FixedFields fields;
    TableListWidget oracleList;
    TableListWidget paradoxList;
    test::RecordingProgressBar progress;
    test::RecordingPointer pointer;
    CountingDialogs dialogs = QuietDialogs();
    TablesScreen screen{oracleList, paradoxList, progress, pointer, dialogs, fields};
};

std::vector<int> Sizes(const char* text) {
    std::vector<int> sizes;
    for (const QByteArray& part : QByteArray(text).split(',')) {
        const int size = part.toInt();
        if (size > 0) {
            sizes.push_back(size);
        }
    }
    return sizes;
}

double Seconds(const std::function<void()>& body) {
    const auto start = Clock::now();
    body();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs pending window events until a shown list is laid out and painted, so a command's time
// holds only what the command itself caused.
void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

// A command, then the window events it left pending.
double CommandSeconds(const std::function<void()>& command) {
    return Seconds([&] {
        command();
        QCoreApplication::processEvents();
    });
}

// How many entries the view itself shows selected.
int ViewSelectedCount(const TableListWidget& list) {
    int selected = 0;
    for (const QItemSelectionRange& range : list.selectionModel()->selection()) {
        selected += range.height();
    }
    return selected;
}

QString EntryName(int i) { return QString::asprintf("TABLE_%06d", i); }

bool SelectAndDeselect(const std::vector<int>& sizes, int rounds) {
    std::printf("\n\"Select All\" and \"Deselect All\" (%s list widget, best of %d)\n",
                shown ? "shown" : "hidden", rounds);
    std::printf("%10s  %12s %12s  %12s %12s\n", "entries", "select all", "per entry",
                "deselect all", "per entry");
    bool valid = true;
    for (const int size : sizes) {
        double best[2] = {1e30, 1e30};
        for (int round = 0; round < rounds; ++round) {
            CountingDialogs dialogs = QuietDialogs();
            TableListWidget list;
            Place(list);
            for (int i = 0; i < size; ++i) {
                list.AddItem(EntryName(i));
            }
            list.SetListIndex(size / 2);
            Settle();
            for (const bool selected : {true, false}) {
                const double seconds = CommandSeconds([&] {
                    SetEveryEntrySelected(list, selected, dialogs, QStringLiteral("bench"));
                });
                best[selected ? 0 : 1] = std::min(best[selected ? 0 : 1], seconds);
                const int expected = selected ? size : 0;
                if (list.SelCount() != expected || ViewSelectedCount(list) != expected ||
                    list.ListIndex() != size / 2) {
                    std::fprintf(stderr, "wrong selection after %s of %d entries\n",
                                 selected ? "Select All" : "Deselect All", size);
                    valid = false;
                }
            }
            valid = valid && dialogs.errors == 0;
        }
        std::printf("%10d  %10.1f ms %9.2f us  %10.1f ms %9.2f us\n", size, best[0] * 1e3,
                    best[0] * 1e6 / size, best[1] * 1e3, best[1] * 1e6 / size);
    }
    return valid;
}

void Touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
    if (fd >= 0) {
        ::close(fd);
    }
}

// `tables` tables, each a data file and a primary index: lower-case names whose data files are
// spelled ".db", ".DB" and ".Db" in turn, so the list's upper-case names find most of them only
// by ignoring case.
void MakeTables(const QByteArray& folder, int tables) {
    const char* spellings[] = {".db", ".DB", ".Db"};
    for (int i = 0; i < tables; ++i) {
        const QByteArray stem = folder + "/t" + QByteArray::number(100000 + i);
        Touch(stem + spellings[i % 3]);
        Touch(stem + ".PX");
    }
}

int CountDataFiles(const QString& folder) {
    return static_cast<int>(
        QDir(folder).entryList({QStringLiteral("*.db")}, QDir::Files | QDir::CaseSensitive).size() +
        QDir(folder).entryList({QStringLiteral("*.DB")}, QDir::Files | QDir::CaseSensitive).size() +
        QDir(folder).entryList({QStringLiteral("*.Db")}, QDir::Files | QDir::CaseSensitive).size());
}

bool DeleteParadox(const std::vector<int>& sizes, int rounds) {
    std::printf("\nParadox \"Delete Table/s\" of every table against rm (best of %d)\n", rounds);
    std::printf("%10s  %12s %12s  %12s  %8s\n", "tables", "command", "per table", "rm", "ratio");
    bool valid = true;
    for (const int size : sizes) {
        double command = 1e30;
        double rm = 1e30;
        for (int round = 0; round < rounds; ++round) {
            QTemporaryDir commandFolder(QStringLiteral("/tmp/quorvex-bench-XXXXXX"));
            QTemporaryDir rmFolder(QStringLiteral("/tmp/quorvex-bench-XXXXXX"));
            MakeTables(QFile::encodeName(commandFolder.path()), size);
            MakeTables(QFile::encodeName(rmFolder.path()), size);

            const QByteArray rmCommand =
                "cd '" + QFile::encodeName(rmFolder.path()) + "' && rm -f -- *.[dD][bB]";
            rm = std::min(rm, Seconds([&] { std::system(rmCommand.constData()); }));

            test::FixedFields fields;
            fields.folder = commandFolder.path();
            BenchScreen bench(fields);
            TableListWidget& paradoxList = bench.paradoxList;
            Place(paradoxList);
            LoadParadoxTables(paradoxList, fields);
            SetEveryEntrySelected(paradoxList, true, bench.dialogs, QStringLiteral("bench"));
            paradoxList.SetListIndex(size - 1);  // the current entry goes first, then each next
            Settle();
            if (paradoxList.ListCount() != size) {
                std::fprintf(stderr, "listed %d of %d tables\n", paradoxList.ListCount(), size);
                valid = false;
            }
            command = std::min(command, CommandSeconds([&] { DeleteParadoxTables(bench.screen); }));
            if (paradoxList.ListCount() != 0 || CountDataFiles(commandFolder.path()) != 0 ||
                CountDataFiles(rmFolder.path()) != 0 || bench.dialogs.errors != 0) {
                std::fprintf(stderr, "the delete of %d tables left %d entries, %d data files\n",
                             size, paradoxList.ListCount(), CountDataFiles(commandFolder.path()));
                valid = false;
            }
        }
        std::printf("%10d  %10.1f ms %9.2f us  %10.1f ms  %8.2f\n", size, command * 1e3,
                    command * 1e6 / size, rm * 1e3, command / rm);
    }
    return valid;
}

bool DeleteSubfolderTables(const std::vector<int>& sizes, int rounds) {
    std::printf(
        "\nParadox \"Delete Table/s\" of tables listed from a subfolder, against the\n"
        "listing of the same folder (as many tables again in the folder itself; best of "
        "%d)\n",
        rounds);
    std::printf("%10s  %12s %12s  %12s  %8s\n", "tables", "command", "per table", "listing",
                "ratio");
    bool valid = true;
    for (const int size : sizes) {
        QTemporaryDir folder(QStringLiteral("/tmp/quorvex-bench-XXXXXX"));
        const QByteArray path = QFile::encodeName(folder.path());
        MakeTables(path, size);
        ::mkdir((path + "/Archive").constData(), 0755);
        for (int i = 0; i < size; ++i) {
            Touch(path + "/Archive/s" + QByteArray::number(100000 + i) + ".db");
        }
        test::FixedFields fields;
        fields.folder = folder.path();
        double command = 1e30;
        double listing = 1e30;
        for (int round = 0; round < rounds; ++round) {
            listing = std::min(listing, Seconds([&] {
                                   CountingList counted;
                                   LoadParadoxTables(counted, fields);
                               }));
            BenchScreen bench(fields);
            bench.dialogs = CountingDialogs(vbOK, 0);  // its one report is expected
            TableListWidget& paradoxList = bench.paradoxList;
            Place(paradoxList);
            LoadParadoxTables(paradoxList, fields);
            for (int i = 0; i < paradoxList.ListCount(); ++i) {
                if (paradoxList.List(i).startsWith(QLatin1Char('S'))) {
                    paradoxList.SetSelected(i, true);
                    paradoxList.SetListIndex(i);
                }
            }
            Settle();
            command = std::min(command, CommandSeconds([&] { DeleteParadoxTables(bench.screen); }));
            if (paradoxList.ListCount() != 2 * size || bench.dialogs.errors != 1) {
                std::fprintf(stderr,
                             "the delete of %d subfolder tables left %d of %d entries "
                             "and gave %d reports\n",
                             size, paradoxList.ListCount(), 2 * size, bench.dialogs.errors);
                valid = false;
            }
        }
        std::printf("%10d  %10.1f ms %9.2f us  %10.1f ms  %8.2f\n", size, command * 1e3,
                    command * 1e6 / size, listing * 1e3, command / listing);
    }
    return valid;
}

void CreateTables(Connection& oracle, int tables) {
    for (int i = 0; i < tables; ++i) {
        oracle.Execute(QStringLiteral("CREATE TABLE \"%1\" (id integer)").arg(EntryName(i)));
    }
}

bool DeleteOracle(const std::vector<int>& sizes) {
    if (qEnvironmentVariableIsEmpty("QUORVEX_TEST_SID")) {
        std::printf("\nOracle \"Delete Table/s\": skipped (no test server in the environment)\n");
        return true;
    }
    std::printf("\nOracle \"Delete Table/s\" against a bare loop of the same DROP TABLE\n");
    std::printf("(wall time, then this process's own CPU time: the rest is the server's)\n");
    std::printf("%10s  %12s %12s  %12s  %8s  %12s %12s\n", "tables", "command", "per table",
                "bare loop", "ratio", "command CPU", "bare CPU");
    const test::FixedFields login = Login();
    bool valid = true;
    for (const int size : sizes) {
        Connection oracle;
        oracle.Open(OracleConnectionString(login));
        CreateTables(oracle, size);
        double cpu = CpuSeconds();
        const double bare = Seconds([&] {
            Connection dropping;
            dropping.Open(OracleConnectionString(login));
            for (int i = 0; i < size; ++i) {
                dropping.Execute(QStringLiteral("DROP TABLE \"%1\"").arg(EntryName(i)));
            }
        });
        const double bareCpu = CpuSeconds() - cpu;

        CreateTables(oracle, size);
        BenchScreen bench(login);
        TableListWidget& oracleList = bench.oracleList;
        Place(oracleList);
        LoadOracleTables(oracleList, login);
        SetEveryEntrySelected(oracleList, true, bench.dialogs, QStringLiteral("bench"));
        Settle();
        const int listed = oracleList.ListCount();  // the server may hold a few others too
        cpu = CpuSeconds();
        const double command = CommandSeconds([&] { DeleteOracleTables(bench.screen); });
        const double commandCpu = CpuSeconds() - cpu;
        if (listed < size || oracleList.ListCount() != 0 || bench.dialogs.errors != 0) {
            std::fprintf(stderr, "listed %d of %d tables, %d left after the delete\n", listed, size,
                         oracleList.ListCount());
            valid = false;
        }
        std::printf("%10d  %10.1f ms %9.2f us  %10.1f ms  %8.2f  %9.1f ms %9.1f ms\n", size,
                    command * 1e3, command * 1e6 / size, bare * 1e3, command / bare,
                    commandCpu * 1e3, bareCpu * 1e3);
    }
    return valid;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::vector<int> select{1000, 10000, 100000};
    std::vector<int> remove{1000, 5000};
    std::vector<int> subfolder{50000};
    std::vector<int> oracle{3000};
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--select") == 0) {
            select = Sizes(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--delete") == 0) {
            remove = Sizes(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--subfolder") == 0) {
            subfolder = Sizes(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--oracle") == 0) {
            oracle = Sizes(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--rounds") == 0) {
            rounds = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--shown") == 0) {
            shown = std::atoi(argv[i + 1]) != 0;
        }
    }
    bool valid = SelectAndDeselect(select, rounds);
    valid = DeleteParadox(remove, rounds) && valid;
    valid = DeleteSubfolderTables(subfolder, rounds) && valid;
    valid = DeleteOracle(oracle) && valid;
    if (!valid) {
        std::fprintf(stderr, "some run did not end as it should: figures not valid\n");
    }
    return valid ? 0 : 1;
}
