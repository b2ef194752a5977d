// "Send Table/s To Oracle" against the test server: the command's rate through the real tables
// screen against a bare loop sending the same INSERT statements over the same kind of ODBC
// connection, for a plain table and for one in which one row in ten holds a 50 KB picture (sent
// as a bound value), and the command's peak memory for a large table.
//
//   bench_transfer [ROWS] [MEMORY_ROWS] [ROUNDS] [PICTURE_ROWS]
//                                         defaults: 100000, 1000000, 3 and 10000
//
// With --send first, the command runs instead as `quorvex send --overwrite BENCH`, the program
// beside this benchmark started as a whole process for each run; its peak memory is the child's
// own high-water mark.
//
// Needs the test server's environment (see bench/README.md): ODBCSYSINI and QUORVEX_TEST_SID.

#include "bench_support.h"
#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "data/core/do_events.h"
#include "screens/form2.h"
#include "screens/table_list_widget.h"
#include "support/recording_ui.h"
#include "table_writer.h"
#include "transfer/create_table_statement.h"
#include "transfer/insert_statement.h"
#include "transfer/quoted_name.h"
#include "transfer/value_text.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace quorvex;
using namespace quorvex::bench;
namespace px = quorvex::paradox;
namespace pw = quorvex::pxwriter;

const QString kTable = QStringLiteral("BENCH");

struct Timing {
    double wall;
    double cpu;
};

constexpr std::size_t kPictureBytes = 50 * 1024;

// Six columns of the common kinds: a counter, two texts, money, a small integer and a date.
// With pictures, a seventh: a graphic field holding a 50 KB picture in every tenth row (too long
// for a literal: it is bound) and NULL in the others.
void WriteBenchTable(const QString& path, long rows, bool withPictures = false) {
    pw::TableDesign design;
    design.fields = {{"Id", px::FieldType::Long, 0},      {"Name", px::FieldType::Alpha, 30},
                     {"Amount", px::FieldType::Money, 0}, {"Qty", px::FieldType::Short, 0},
                     {"Placed", px::FieldType::Date, 0},  {"Note", px::FieldType::Alpha, 60}};
    if (withPictures) {
        design.fields.push_back({"Picture", px::FieldType::Graphic, 10});
    }
    px::ByteVector picture(kPictureBytes);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<std::uint8_t>(i * 131 % 251);
    }
    pw::TableWriter writer(QFile::encodeName(path).toStdString(), design);
    const std::int32_t firstDay =
        static_cast<std::int32_t>(QDate(2014, 3, 14).toJulianDay() - 1721425);
    for (long r = 0; r < rows; ++r) {
        std::vector<px::Value> row = {
            px::Value::Integer(static_cast<std::int32_t>(r + 1)),
            px::Value::Text("Customer O'Brien " + std::to_string(r % 977)),
            px::Value::Number(static_cast<double>(r % 100000) / 100.0 + 0.17),
            px::Value::Integer(static_cast<std::int32_t>(r % 300)),
            px::Value::Date({firstDay + static_cast<std::int32_t>(r % 3650)}),
            r % 5 == 0 ? px::Value() : px::Value::Text("Deliver to the back door, ring twice")};
        if (withPictures) {
            picture[0] = static_cast<std::uint8_t>(r);  // no two pictures alike
            row.push_back(r % 10 == 0 ? px::Value::Raw(picture) : px::Value());
        }
        writer.addRow(row);
    }
    writer.finish();
}

void DropBenchTable(Connection& oracle) {
    try {
        oracle.Execute(DropTableStatement(kTable));
    } catch (const std::exception&) {
        // not there
    }
}

// The command through the real tables screen, offscreen: refresh, select the table, click.
Timing CommandRun(const test::FixedFields& login, long rows) {
    CountingDialogs dialogs(vbYes);  // every failure report printed; there should be none
    Form2 screen(login, dialogs);
    screen.Form_Load();
    screen.show();
    TableListWidget& paradox = screen.ParadoxList();
    for (int i = 0; i < paradox.ListCount(); ++i) {
        if (paradox.List(i) == kTable) {
            paradox.SetSelected(i, true);
            paradox.SetListIndex(i);
        }
    }
    DoEvents();
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = CpuSeconds();
    screen.PushButton4_Click();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuBefore;
    if (dialogs.errors != 0) {
        std::fprintf(stderr, "the command reported %d failures\n", dialogs.errors);
        std::exit(1);
    }
    std::printf("  command:   %ld rows in %.2f s = %.0f rows/s, client CPU %.1f us/row\n", rows,
                seconds, rows / seconds, rows > 0 ? cpu * 1e6 / rows : 0.0);
    return {seconds, cpu};
}

// The same INSERT statements, built beforehand with their bound values, executed one by one on
// an ODBC connection of the same kind (server-side cursor, opened with the same connection
// string).
Timing BareLoopRun(const test::FixedFields& login, const QString& createText,
                   const std::vector<InsertRow>& inserts) {
    Connection oracle;
    oracle.SetCursorLocation(adUseServer);
    oracle.Open(OracleConnectionString(login));
    DropBenchTable(oracle);
    oracle.Execute(createText);
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = CpuSeconds();
    for (const InsertRow& insert : inserts) {
        oracle.Execute(insert.text, insert.boundValues);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuBefore;
    const double rows = static_cast<double>(inserts.size());
    std::printf("  bare loop: %.0f rows in %.2f s = %.0f rows/s, client CPU %.1f us/row\n", rows,
                seconds, rows / seconds, cpu * 1e6 / rows);
    return {seconds, cpu};
}

// Reads the Paradox table once and builds the statements the command sends.
std::vector<InsertRow> BuildStatements(const test::FixedFields& login, QString& createText) {
    Connection paradox;
    paradox.SetCursorLocation(adUseClient);
    paradox.Open(ParadoxConnectionString(login));
    Recordset source;
    source.Open(SelectAllStatement(kTable), paradox);
    std::vector<SourceField> fields;
    for (int i = 0; i < source.FieldCount(); ++i) {
        fields.push_back({source.FieldName(i), TypeCodeAsInt16(source.FieldType(i))});
    }
    createText = BuildCreateTableStatement(kTable, fields);
    std::vector<InsertRow> inserts;
    inserts.reserve(static_cast<std::size_t>(source.RecordCount()));
    std::vector<Value> row(fields.size());
    for (std::int64_t r = 0; r < source.RecordCount(); ++r) {
        for (int i = 0; i < source.FieldCount(); ++i) {
            row[static_cast<std::size_t>(i)] = source.FieldValue(i);
        }
        inserts.push_back(BuildInsertStatement(kTable, row));
        source.MoveNext();
    }
    return inserts;
}

// The command as `quorvex send --overwrite BENCH`, a whole process of the program beside this
// benchmark (RunProgramProcess). Exit status 0 means every row arrived. Returns the timing (the
// child's CPU time) and sets the child's peak resident set.
Timing SendProcessRun(const test::FixedFields& login, long rows, long& peakKib) {
    const ProgramProcess run =
        RunProgramProcess({QStringLiteral("send"), QStringLiteral("--overwrite"),
                           QStringLiteral("--folder"), login.folder, QStringLiteral("--sid"),
                           login.sid, QStringLiteral("--user"), login.user, kTable});
    if (run.exitStatus != 0) {
        std::fprintf(stderr, "quorvex send did not send every row (status %d)\n", run.exitStatus);
        std::exit(1);
    }
    peakKib = run.peakKib;
    std::printf(
        "  quorvex send: %ld rows in %.2f s = %.0f rows/s, client CPU %.1f us/row, peak %.1f MiB\n",
        rows, run.seconds, rows / run.seconds, rows > 0 ? run.cpuSeconds * 1e6 / rows : 0.0,
        peakKib / 1024.0);
    return {run.seconds, run.cpuSeconds};
}

// Child process: only the command, on the table in `folder`, then the peak resident size.
int MemoryChild(const QString& folder) {
    const test::FixedFields login = Login(folder);
    {
        Connection oracle;
        oracle.Open(OracleConnectionString(login));
        DropBenchTable(oracle);
    }
    CommandRun(login, 0);
    std::printf("peak_kib=%ld\n", PeakKib(QStringLiteral("self")));
    // What arrived, so a figure is never taken from a copy that stopped early.
    Connection oracle;
    oracle.Open(OracleConnectionString(login));
    Recordset count;
    count.Open(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(kTable), oracle);
    std::printf("rows_arrived=%s\n", qPrintable(ValueText(count.FieldValue(0))));
    return 0;
}

long ChildPeak(const QString& folder, const char* what) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--memory-child"), folder});
    child.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    const qsizetype at = output.indexOf(QStringLiteral("peak_kib="));
    const long peak = at < 0 ? -1 : output.mid(at + 9).section(u'\n', 0, 0).trimmed().toLong();
    const qsizetype arrivedAt = output.indexOf(QStringLiteral("rows_arrived="));
    const QString arrived =
        arrivedAt < 0 ? QStringLiteral("?") : output.mid(arrivedAt + 13).section(u'\n', 0, 0);
    std::printf("  %s: peak resident %.1f MiB (%s rows arrived)\n", what, peak / 1024.0,
                qPrintable(arrived));
    return peak;
}

// The command (the window's, or `quorvex send`) against a run of the given rows.
using CommandRunner = std::function<Timing(const test::FixedFields& login, long rows)>;

// The command against the bare loop of the same statements on the table in the login's folder,
// in alternating rounds.
void SpeedRounds(const test::FixedFields& login, long rows, int rounds,
                 const CommandRunner& runCommand) {
    QString createText;
    const double buildStart = CpuSeconds();
    const std::vector<InsertRow> inserts = BuildStatements(login, createText);
    std::printf("  reading and building the statements alone: %.1f us/row\n",
                (CpuSeconds() - buildStart) * 1e6 / rows);
    // Alternating rounds: the machine is shared and the server's speed swings, so each round's
    // ratio compares two runs made close together, and the median of those is reported.
    std::vector<double> ratios;
    double commandCpu = 1e300;
    double bareCpu = 1e300;
    for (int round = 0; round < rounds; ++round) {
        {
            Connection oracle;
            oracle.Open(OracleConnectionString(login));
            DropBenchTable(oracle);
        }
        // Which goes first alternates too, so neither always follows the other's large DROP.
        Timing command{};
        Timing bare{};
        if (round % 2 == 0) {
            command = runCommand(login, rows);
            bare = BareLoopRun(login, createText, inserts);
        } else {
            bare = BareLoopRun(login, createText, inserts);
            {
                Connection oracle;
                oracle.Open(OracleConnectionString(login));
                DropBenchTable(oracle);
            }
            command = runCommand(login, rows);
        }
        ratios.push_back(bare.wall / command.wall);
        commandCpu = std::min(commandCpu, command.cpu);
        bareCpu = std::min(bareCpu, bare.cpu);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("  command rate / bare loop rate, per round:");
    for (const double ratio : ratios) {
        std::printf(" %.3f", ratio);
    }
    std::printf("; median %.3f\n", ratios[ratios.size() / 2]);
    std::printf(
        "  client CPU per row (best): command %.1f us, bare loop %.1f us; reading, "
        "building and yielding add %.1f us\n",
        commandCpu * 1e6 / rows, bareCpu * 1e6 / rows, (commandCpu - bareCpu) * 1e6 / rows);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QUORVEX_TEST_SID") ||
        qEnvironmentVariableIsEmpty("ODBCSYSINI")) {
        std::fprintf(stderr,
                     "No test server: start one with scripts/test-server.sh and export "
                     "ODBCSYSINI and QUORVEX_TEST_SID (see bench/README.md).\n");
        return 2;
    }
    if (argc == 3 && std::string(argv[1]) == "--memory-child") {
        return MemoryChild(QString::fromLocal8Bit(argv[2]));
    }
    const bool throughSend = argc > 1 && std::string(argv[1]) == "--send";
    if (throughSend) {
        --argc;
        ++argv;
    }
    const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
    const long memoryRows = argc > 2 ? std::atol(argv[2]) : 1000000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    const long pictureRows = argc > 4 ? std::atol(argv[4]) : 10000;
    long sendPeakKib = 0;
    const CommandRunner runCommand = [&](const test::FixedFields& fields, long count) {
        return throughSend ? SendProcessRun(fields, count, sendPeakKib) : CommandRun(fields, count);
    };

    QTemporaryDir folder(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
    const test::FixedFields login = Login(folder.path());

    // The cost that throttling the yields avoids: one idle processEvents().
    {
        const int calls = 200000;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < calls; ++i) {
            DoEvents();
        }
        std::printf("one idle DoEvents: %.2f us\n", timer.nsecsElapsed() / 1e3 / calls);
    }

    std::printf("speed, %ld rows x 6 columns:\n", rows);
    WriteBenchTable(folder.filePath(kTable + QStringLiteral(".DB")), rows);
    SpeedRounds(login, rows, rounds, runCommand);
    if (pictureRows > 0) {
        std::printf("speed, %ld rows x 7 columns, a 50 KB picture in every tenth row:\n",
                    pictureRows);
        QTemporaryDir pictures(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
        WriteBenchTable(pictures.filePath(kTable + QStringLiteral(".DB")), pictureRows, true);
        SpeedRounds(Login(pictures.path()), pictureRows, rounds, runCommand);
    }

    if (memoryRows > 0 && throughSend) {
        std::printf("memory of quorvex send (peak resident set of the process):\n");
        QTemporaryDir empty(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
        WriteBenchTable(empty.filePath(kTable + QStringLiteral(".DB")), 0);
        long base = 0;
        long large = 0;
        SendProcessRun(Login(empty.path()), 0, base);
        QTemporaryDir big(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
        WriteBenchTable(big.filePath(kTable + QStringLiteral(".DB")), memoryRows);
        SendProcessRun(Login(big.path()), memoryRows, large);
        std::printf("  empty table %.1f MiB, %ld rows %.1f MiB: growth %.1f MiB\n", base / 1024.0,
                    memoryRows, large / 1024.0, (large - base) / 1024.0);
    } else if (memoryRows > 0) {
        std::printf("memory (each in a fresh process):\n");
        QTemporaryDir empty(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
        WriteBenchTable(empty.filePath(kTable + QStringLiteral(".DB")), 0);
        const long base = ChildPeak(empty.path(), "empty table");
        const long small = ChildPeak(folder.path(), qPrintable(QString::number(rows) + " rows"));
        QTemporaryDir big(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
        WriteBenchTable(big.filePath(kTable + QStringLiteral(".DB")), memoryRows);
        const long large = ChildPeak(big.path(), qPrintable(QString::number(memoryRows) + " rows"));
        std::printf("  growth over the empty table: %.1f MiB (%ld rows), %.1f MiB (%ld rows)\n",
                    (small - base) / 1024.0, rows, (large - base) / 1024.0, memoryRows);
    }
    {
        Connection oracle;
        oracle.Open(OracleConnectionString(login));
        DropBenchTable(oracle);
    }
    return 0;
}
