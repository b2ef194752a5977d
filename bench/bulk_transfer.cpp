// The bulk copy against the test server, in one run, on the same table and the same server:
//   - the server's own bulk load of the same rows (psql's \copy, less a psql that only connects),
//   - "Send Table/s To Oracle", one INSERT per row (on the first rows of the same table),
//   - the bulk copy of one table (BulkTableCopy), and of two tables by two jobs at once,
//   - the comparison of the sent table with its Paradox table (CompareSentTable),
// first on the server's own socket, then through a relay of our own that holds every piece of
// data back 0.5 ms each way (bench_delay_relay), where four jobs are added; then the peak memory
// of a bulk copy and of a comparison, each in a fresh process, at 10,000 and at MEMORY_ROWS rows.
//
//   bench_bulk_transfer [--program] [ROWS] [ROW_COPY_ROWS] [MEMORY_ROWS] [DELAY_US]
//                                 defaults: 200000, 20000, 1000000 and 500
//
// With --program, the same comparisons run through the command line itself, each quorvex a whole
// process of the program beside the benchmark: `quorvex send` row by row, `quorvex send --bulk`,
// `--bulk --jobs 2` of two tables (and 4 of four through the relay), `quorvex verify`, and
// `quorvex send --native --bulk` and `verify --native` of the same table, beside
// psql's \copy and INSERT statements; then the peak memory and rate of `quorvex send --bulk` and
// `quorvex verify` at 10,000 and MEMORY_ROWS rows.
//
// Needs the test server's environment (see bench/README.md): ODBCSYSINI and QUORVEX_TEST_SID.

#include "bench_support.h"
#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "psql.h"
#include "screens/table_list_widget.h"
#include "shell/tables_screen.h"
#include "support/recording_ui.h"
#include "table_writer.h"
#include "transfer/bulk_connections.h"
#include "transfer/bulk_table_copy.h"
#include "transfer/insert_statement.h"
#include "transfer/send_tables.h"
#include "transfer/table_comparison.h"
#include "transfer/table_jobs.h"
#include "transfer/value_text.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <string>
#include <utility>

namespace {

using namespace quorvex;
using namespace quorvex::bench;
namespace px = quorvex::paradox;
namespace pw = quorvex::pxwriter;

// Six columns of the common kinds, as the measurement had them: a counter, two texts,
// money, a small integer and a date; every fifth row has a NULL.
void WriteSixColumns(const QString& path, long rows) {
    pw::TableDesign design;
    design.fields = {{"ID", px::FieldType::Long, 0},     {"NAME", px::FieldType::Alpha, 30},
                     {"CITY", px::FieldType::Alpha, 20}, {"AMOUNT", px::FieldType::Money, 0},
                     {"QTY", px::FieldType::Short, 0},   {"DAY", px::FieldType::Date, 0}};
    pw::TableWriter writer(QFile::encodeName(path).toStdString(), design);
    const auto firstDay = static_cast<std::int32_t>(QDate(1999, 1, 1).toJulianDay() - 1721425);
    for (long row = 1; row <= rows; ++row) {
        const auto n = static_cast<std::int32_t>(row);
        writer.addRow(
            {px::Value::Integer(n), px::Value::Text("Customer O'Brien " + std::to_string(row)),
             row % 5 == 0 ? px::Value() : px::Value::Text("City " + std::to_string(row % 97)),
             px::Value::Number(static_cast<double>(row) * 0.17), px::Value::Integer(n % 1000),
             px::Value::Date(px::DayNumber{firstDay + n % 3000})});
    }
    writer.finish();
}

// CPU seconds of a server process (the backend of a connection), from /proc.
double ProcessCpuSeconds(const QString& pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

QString BackendPid(Connection& oracle) {
    Recordset pid;
    pid.Open(QStringLiteral("SELECT pg_backend_pid()"), oracle);
    return ValueText(pid.FieldValue(0));
}

void Drop(Connection& oracle, const QString& table) {
    try {
        oracle.Execute(QStringLiteral("DROP TABLE \"%1\"").arg(table));
    } catch (const std::exception&) {
        // not there
    }
}

struct NoRefusals : BulkObserver {
    void RowNotWhole(const RowProblem& row) override {
        std::fprintf(stderr, "refused row %lld: %s\n", static_cast<long long>(row.rowNumber),
                     qPrintable(row.message));
        std::exit(1);
    }
};

// The program's connection string for the test server.
QString OracleString(const QString& sid) {
    return QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=%1;Uid=scott;Pwd=tiger;")
        .arg(sid);
}

QString ParadoxString(const QString& folder) {
    test::FixedFields fields;
    fields.folder = folder;
    return ParadoxConnectionString(fields);
}

struct Rate {
    double rowsPerSecond = 0;
    double clientUsPerRow = 0;
    double serverUsPerRow = 0;
};

// One table in bulk on fresh connections; the rate, and the client's and the server's CPU.
Rate BulkRun(const QString& sid, const QString& folder, const QString& table, long rows,
             int arrayRows = BulkOptions{}.arrayRows) {
    const auto connections = BulkConnections::Open(OracleString(sid), ParadoxString(folder));
    Drop(connections->oracle, table);
    const QString backend = BackendPid(connections->oracle);
    NoRefusals observer;
    const double serverBefore = ProcessCpuSeconds(backend);
    const double clientBefore = CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    const BulkTableResult result = BulkTableCopy{
        connections->oracle,     connections->paradox, table, &observer, nullptr,
        {.arrayRows = arrayRows}}.Run();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (result.outcome != BulkTableResult::Outcome::Complete || result.arrived != rows) {
        std::fprintf(stderr, "the bulk copy did not send every row: %s\n",
                     qPrintable(result.failure));
        std::exit(1);
    }
    return {rows / seconds, (CpuSeconds() - clientBefore) * 1e6 / rows,
            (ProcessCpuSeconds(backend) - serverBefore) * 1e6 / rows};
}

// `count` copies of the table, JOB1, JOB2..., as links to LOADED.DB, none of them in Oracle.
QStringList JobTables(const QString& sid, const QString& folder, int count) {
    QStringList tables;
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("JOB%1").arg(i);
        QFile::remove(folder + u'/' + name + QStringLiteral(".DB"));
        QFile::link(folder + QStringLiteral("/LOADED.DB"), folder + u'/' + name + ".DB");
        tables.append(name);
    }
    Connection oracle;
    oracle.Open(OracleString(sid));
    for (const QString& table : tables) Drop(oracle, table);
    return tables;
}

// `count` copies of the table (JobTables) by `jobs` jobs at once; rows/s of all together.
double JobsRun(const QString& sid, const QString& folder, int count, int jobs, long rows) {
    const QStringList tables = JobTables(sid, folder, count);
    std::atomic<long> arrived{0};
    QElapsedTimer timer;
    timer.start();
    RunTableJobs(
        tables, jobs,
        [&]() -> TableJob {
            std::shared_ptr<BulkConnections> own =
                BulkConnections::Open(OracleString(sid), ParadoxString(folder));
            return [own, &arrived](const QString& table) {
                NoRefusals observer;
                arrived += BulkTableCopy{own->oracle, own->paradox, table, &observer}.Run().arrived;
                return true;
            };
        },
        nullptr);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (arrived != rows * count) {
        std::fprintf(stderr, "the jobs did not send every row\n");
        std::exit(1);
    }
    return rows * count / seconds;
}

// The comparison of the sent table with its Paradox table; rows/s of one side.
Rate VerifyRun(const QString& sid, const QString& folder, const QString& table, long rows) {
    const auto connections = BulkConnections::Open(OracleString(sid), ParadoxString(folder));
    const QString backend = BackendPid(connections->oracle);
    const double serverBefore = ProcessCpuSeconds(backend);
    const double clientBefore = CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    const std::optional<TableComparison> comparison =
        CompareSentTable(connections->paradox, connections->oracle, table);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!comparison || !comparison->Same() || comparison->oracleRows != rows) {
        std::fprintf(stderr, "the comparison did not find the table the same\n");
        std::exit(1);
    }
    return {rows / seconds, (CpuSeconds() - clientBefore) * 1e6 / rows,
            (ProcessCpuSeconds(backend) - serverBefore) * 1e6 / rows};
}

// "Send Table/s To Oracle" on the table, as the tables screen runs it.
double RowCopyRun(const QString& sid, const QString& folder, const QString& table, long rows) {
    {
        Connection oracle;
        oracle.Open(OracleString(sid));
        Drop(oracle, table);
    }
    TableListWidget oracleList;
    TableListWidget paradoxList;
    paradoxList.AddItem(table);
    paradoxList.SetSelected(0, true);
    paradoxList.SetListIndex(0);
    test::RecordingPointer pointer;
    test::RecordingProgressBar progress;
    CountingDialogs dialogs(vbYes);
    test::FixedFields fields;
    fields.folder = folder;
    fields.sid = sid;
    fields.user = QStringLiteral("scott");
    fields.password = QStringLiteral("tiger");
    TablesScreen screen{oracleList, paradoxList, progress, pointer, dialogs, fields};
    QElapsedTimer timer;
    timer.start();
    SendTablesToOracle(screen);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (dialogs.errors != 0 || Count(sid, table) != rows) {
        std::fprintf(stderr, "the row copy did not send every row\n");
        std::exit(1);
    }
    return rows / seconds;
}

// The same rows, as the server holds them after the bulk copy, loaded again with one \copy.
double CopyRun(const QString& sid, const QString& table, const QString& scratch, long rows) {
    const QString exported = scratch + QStringLiteral("/rows.csv");
    const QString copy = table + QStringLiteral("_BY_COPY");
    if (Psql(sid, QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(copy)) < 0 ||
        Psql(sid, QStringLiteral("\\copy \"%1\" TO '%2' CSV").arg(table, exported)) < 0 ||
        Psql(sid, QStringLiteral("CREATE TABLE \"%1\" (LIKE \"%2\")").arg(copy, table)) < 0) {
        std::exit(1);
    }
    const double startMs = Psql(sid, QStringLiteral("SELECT 1"));
    const double copyMs =
        Psql(sid, QStringLiteral("\\copy \"%1\" FROM '%2' CSV").arg(copy, exported));
    if (copyMs < 0 || Count(sid, copy) != rows) {
        std::fprintf(stderr, "the \\copy did not load every row\n");
        std::exit(1);
    }
    Psql(sid, QStringLiteral("DROP TABLE \"%1\"").arg(copy));
    return rows / (std::max(1.0, copyMs - startMs) / 1000.0);
}

// The key and an index made after loading a table's rows, as send --native makes them, against
// loading the same rows into a table made with them: the rows of `table` (sent natively) are
// copied out once, then loaded by \copy into a fresh table of its columns each way. Returns the
// seconds of each way.
std::pair<double, double> KeysAfterOrBefore(const QString& sid, const QString& table,
                                            const QString& scratch, long rows) {
    const QString exported = scratch + QStringLiteral("/native.csv");
    const QString target = table + QStringLiteral("_KEYS");
    const QString key = QStringLiteral(
                            "ALTER TABLE \"%1\" ADD CONSTRAINT \"%1_PK\" PRIMARY KEY (\"ID\"); "
                            "CREATE INDEX \"%1_X03\" ON \"%1\" (\"CITY\")")
                            .arg(target);
    const QString load = QStringLiteral("\\copy \"%1\" FROM '%2' CSV").arg(target, exported);
    if (Psql(sid, QStringLiteral("\\copy \"%1\" TO '%2' CSV").arg(table, exported)) < 0) {
        std::exit(1);
    }
    const auto fresh = [&] {
        Psql(sid, QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(target));
        if (Psql(sid, QStringLiteral("CREATE TABLE \"%1\" (LIKE \"%2\")").arg(target, table)) < 0) {
            std::exit(1);
        }
    };
    const double startMs = Psql(sid, QStringLiteral("SELECT 1"));
    fresh();
    const double afterMs = Psql(sid, load) + Psql(sid, key) - 2 * startMs;
    fresh();
    const double beforeMs = Psql(sid, key) + Psql(sid, load) - 2 * startMs;
    if (afterMs < 0 || beforeMs < 0 || Count(sid, target) != rows) {
        std::fprintf(stderr, "the key and index loads did not load every row\n");
        std::exit(1);
    }
    Psql(sid, QStringLiteral("DROP TABLE \"%1\"").arg(target));
    return {afterMs / 1000.0, beforeMs / 1000.0};
}

// The row copy's own INSERT statements for the same rows, a hundred to a line, run by psql in one
// transaction: what the server takes of INSERT statements of literal values, with nothing of
// ODBC or of the program in the way (psqlODBC sends an array the same way, a hundred to a text).
double InsertStatementsRun(const QString& sid, const QString& folder, const QString& table,
                           const QString& scratch, long rows) {
    const QString target = table + QStringLiteral("_BY_PSQL");
    const QString file = scratch + QStringLiteral("/inserts.sql");
    Psql(sid, QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(target));
    if (Psql(sid, QStringLiteral("CREATE TABLE \"%1\" (LIKE \"%2\")").arg(target, table)) < 0) {
        std::exit(1);
    }
    {
        Connection paradox;
        paradox.Open(ParadoxString(folder));
        Recordset source;
        source.Open(QStringLiteral("SELECT * FROM \"%1\"").arg(table), paradox);
        QFile script(file);
        script.open(QIODevice::WriteOnly);
        script.write("BEGIN;\n");
        std::vector<Value> values(static_cast<std::size_t>(source.FieldCount()));
        for (long row = 1; row <= rows; ++row, source.MoveNext()) {
            for (int field = 0; field < source.FieldCount(); ++field) {
                values[static_cast<std::size_t>(field)] = source.FieldValue(field);
            }
            // psql sends the statements of a line joined by "\\;" as one request.
            script.write(BuildInsertStatement(target, values).text.toUtf8() +
                         (row % 100 == 0 || row == rows ? ";\n" : "\\;"));
        }
        script.write("\nCOMMIT;\n");
    }
    const double startMs = Psql(sid, QStringLiteral("SELECT 1"));
    const double ms = Psql(sid, QString(), file);
    if (ms < 0 || Count(sid, target) != rows) {
        std::fprintf(stderr, "psql did not insert every row\n");
        std::exit(1);
    }
    Psql(sid, QStringLiteral("DROP TABLE \"%1\"").arg(target));
    return rows / (std::max(1.0, ms - startMs) / 1000.0);
}

// `rowCopyTable` holds the first `rowCopyRows` rows of the table.
void Speeds(const char* where, const QString& sid, const QString& folder, const QString& scratch,
            long rows, const QString& rowCopyTable, long rowCopyRows, bool fourJobs) {
    std::printf("\n%s, %ld rows x 6 columns:\n", where, rows);
    const Rate bulk = BulkRun(sid, folder, QStringLiteral("LOADED"), rows);
    const double copy = CopyRun(sid, QStringLiteral("LOADED"), scratch, rows);
    const double inserts =
        InsertStatementsRun(sid, folder, QStringLiteral("LOADED"), scratch, rows);
    const Rate verify = VerifyRun(sid, folder, QStringLiteral("LOADED"), rows);
    const double rowCopy = RowCopyRun(sid, folder, rowCopyTable, rowCopyRows);
    const double twoJobs = JobsRun(sid, folder, 2, 2, rows);
    std::printf("  psql \\copy of the same rows        %10.0f rows/s\n", copy);
    std::printf("  psql, INSERT statements, 100 a text %9.0f rows/s\n", inserts);
    std::printf("  row by row (%ld rows)            %10.0f rows/s\n", rowCopyRows, rowCopy);
    std::printf(
        "  bulk, one table                    %10.0f rows/s  (client CPU %.1f us/row, "
        "server %.1f us/row)\n",
        bulk.rowsPerSecond, bulk.clientUsPerRow, bulk.serverUsPerRow);
    std::printf("  bulk, two tables by two jobs       %10.0f rows/s\n", twoJobs);
    if (fourJobs) {
        std::printf("  bulk, four tables by four jobs     %10.0f rows/s\n",
                    JobsRun(sid, folder, 4, 4, rows));
    }
    std::printf("  bulk, arrays of");
    for (const int arrayRows : {100, 250, 500, 1000, 2000, 4000}) {
        std::printf(" %d: %.0f", arrayRows,
                    BulkRun(sid, folder, QStringLiteral("LOADED"), rows, arrayRows).rowsPerSecond);
    }
    std::printf(" rows/s\n");
    std::printf(
        "  comparison of the sent table       %10.0f rows/s  (client CPU %.1f us/row, "
        "server %.1f us/row)\n",
        verify.rowsPerSecond, verify.clientUsPerRow, verify.serverUsPerRow);
    std::printf("  bulk / \\copy %.3f, bulk / row by row %.1f, comparison / bulk %.2f\n",
                bulk.rowsPerSecond / copy, bulk.rowsPerSecond / rowCopy,
                verify.rowsPerSecond / bulk.rowsPerSecond);
}

// Child process: one bulk copy or one comparison, then its peak resident set.
// (Run by hand on a folder without the table, it writes it first: a bulk copy alone, to profile.)
int MemoryChild(const QString& what, const QString& folder, long rows) {
    const QString sid = qEnvironmentVariable("QUORVEX_TEST_SID");
    if (!QFile::exists(folder + QStringLiteral("/LOADED.DB"))) {
        WriteSixColumns(folder + QStringLiteral("/LOADED.DB"), rows);
    }
    const Rate rate = what == QLatin1String("bulk")
                          ? BulkRun(sid, folder, QStringLiteral("LOADED"), rows)
                          : VerifyRun(sid, folder, QStringLiteral("LOADED"), rows);
    std::printf("rows_per_second=%.0f\n", rate.rowsPerSecond);
    std::printf("peak_kib=%ld\n", PeakKib(QStringLiteral("self")));
    return 0;
}

struct ChildRun {
    long peakKib = -1;
    long rowsPerSecond = -1;
};

ChildRun RunChild(const QString& what, const QString& folder, long rows) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--memory-child"), what, folder, QString::number(rows)});
    child.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    const auto number = [&output](const QString& key) {
        const qsizetype at = output.indexOf(key);
        return at < 0 ? -1L : output.mid(at + key.size()).section(u'\n', 0, 0).trimmed().toLong();
    };
    return {number(QStringLiteral("peak_kib=")), number(QStringLiteral("rows_per_second="))};
}

// The comparison asks the driver for the Oracle side's rows a thousand at a time
// (FetchResultsInBlocks: psqlODBC's declare/fetch mode; Oracle's driver always fetches a buffer
// at a time), rather than whole before the first row as psqlODBC does by default.
void Memory(long memoryRows) {
    std::printf("\npeak resident set, each in a fresh process:\n");
    for (const long rows : {10000L, memoryRows}) {
        QTemporaryDir folder(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
        WriteSixColumns(folder.filePath(QStringLiteral("LOADED.DB")), rows);
        const ChildRun bulk = RunChild(QStringLiteral("bulk"), folder.path(), rows);
        const ChildRun verify = RunChild(QStringLiteral("verify"), folder.path(), rows);
        std::printf("  %8ld rows: bulk %.1f MiB (%ld rows/s), comparison %.1f MiB (%ld rows/s)\n",
                    rows, bulk.peakKib / 1024.0, bulk.rowsPerSecond, verify.peakKib / 1024.0,
                    verify.rowsPerSecond);
    }
}

// `quorvex ARGUMENTS` on the folder and the server, a whole process (RunProgramProcess); the
// benchmark ends unless it exits with status 0: every row arrived, every table is the same.
ProgramProcess Quorvex(const QString& sid, const QString& folder, QStringList arguments) {
    const QString command = arguments.join(u' ');
    arguments +=
        {QStringLiteral("--folder"), folder, QStringLiteral("--sid"), sid, QStringLiteral("--user"),
         QStringLiteral("scott")};
    const ProgramProcess run = RunProgramProcess(arguments);
    if (run.exitStatus != 0) {
        std::fprintf(stderr, "quorvex %s ended with status %d\n", qPrintable(command),
                     run.exitStatus);
        std::exit(1);
    }
    return run;
}

void PrintProcess(const char* what, const ProgramProcess& run, long rows) {
    std::printf("  %-38s %10.0f rows/s  (%.2f s, client CPU %.1f us/row, peak %.1f MiB)\n", what,
                rows / run.seconds, run.seconds, run.cpuSeconds * 1e6 / rows, run.peakKib / 1024.0);
}

// The command line's own figures, each a whole process of the program: `quorvex send` row by row
// (on the first `rowCopyRows` rows, the table `rowCopyTable`), `quorvex send --bulk` of one table,
// with --jobs 2 (and 4) of as many tables, and `quorvex verify`, beside psql's \copy and psql's
// INSERT statements of the same rows on the same server.
void ProgramSpeeds(const char* where, const QString& sid, const QString& folder,
                   const QString& scratch, long rows, const QString& rowCopyTable, long rowCopyRows,
                   bool fourJobs) {
    std::printf("\n%s, %ld rows x 6 columns, each quorvex a whole process:\n", where, rows);
    const QString loaded = QStringLiteral("LOADED");
    const QString overwrite = QStringLiteral("--overwrite");
    const QString send = QStringLiteral("send");
    const QString bulkOption = QStringLiteral("--bulk");
    const ProgramProcess bulk = Quorvex(sid, folder, {send, bulkOption, overwrite, loaded});
    const double copy = CopyRun(sid, loaded, scratch, rows);
    const double inserts = InsertStatementsRun(sid, folder, loaded, scratch, rows);
    const ProgramProcess verify = Quorvex(sid, folder, {QStringLiteral("verify"), loaded});
    const QString nativeOption = QStringLiteral("--native");
    const ProgramProcess native =
        Quorvex(sid, folder, {send, nativeOption, bulkOption, overwrite, loaded});
    const ProgramProcess nativeVerify =
        Quorvex(sid, folder, {QStringLiteral("verify"), nativeOption, loaded});
    const ProgramProcess rowCopy = Quorvex(sid, folder, {send, overwrite, rowCopyTable});
    const ProgramProcess twoJobs = Quorvex(
        sid, folder,
        QStringList{send, bulkOption, QStringLiteral("--jobs"), QStringLiteral("2"), overwrite} +
            JobTables(sid, folder, 2));
    std::printf("  psql \\copy of the same rows               %10.0f rows/s\n", copy);
    std::printf("  psql, the same INSERT statements, 100 a text %8.0f rows/s\n", inserts);
    PrintProcess(qPrintable(QStringLiteral("quorvex send, row by row (%1 rows)").arg(rowCopyRows)),
                 rowCopy, rowCopyRows);
    PrintProcess("quorvex send --bulk", bulk, rows);
    PrintProcess("quorvex send --bulk --jobs 2, two tables", twoJobs, 2 * rows);
    if (fourJobs) {
        const ProgramProcess four = Quorvex(sid, folder,
                                            QStringList{send, bulkOption, QStringLiteral("--jobs"),
                                                        QStringLiteral("4"), overwrite} +
                                                JobTables(sid, folder, 4));
        PrintProcess("quorvex send --bulk --jobs 4, four tables", four, 4 * rows);
    }
    PrintProcess("quorvex verify", verify, rows);
    PrintProcess("quorvex send --native --bulk", native, rows);
    PrintProcess("quorvex verify --native", nativeVerify, rows);
    const double bulkRate = rows / bulk.seconds;
    std::printf("  --native --bulk / --bulk %.2f (target 0.9)\n", bulk.seconds / native.seconds);
    const auto [after, before] = KeysAfterOrBefore(sid, loaded, scratch, rows);
    std::printf(
        "  key and index made after loading the rows %.2f s, the rows loaded into a table "
        "made with them %.2f s (after / before %.2f)\n",
        after, before, after / before);
    std::printf("  --bulk / \\copy %.3f, --bulk / row by row %.1f, verify / --bulk %.2f\n",
                bulkRate / copy, bulkRate / (rowCopyRows / rowCopy.seconds),
                (rows / verify.seconds) / bulkRate);
}

// The peak resident set and the rate of `quorvex send --bulk` and `quorvex verify` of one table,
// at 10,000 and at `memoryRows` rows.
void ProgramMemory(const QString& sid, long memoryRows) {
    std::printf("\npeak resident set of the quorvex process:\n");
    for (const long rows : {10000L, memoryRows}) {
        QTemporaryDir folder(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
        WriteSixColumns(folder.filePath(QStringLiteral("LOADED.DB")), rows);
        const ProgramProcess bulk =
            Quorvex(sid, folder.path(),
                    {QStringLiteral("send"), QStringLiteral("--bulk"),
                     QStringLiteral("--overwrite"), QStringLiteral("LOADED")});
        const ProgramProcess verify =
            Quorvex(sid, folder.path(), {QStringLiteral("verify"), QStringLiteral("LOADED")});
        std::printf(
            "  %8ld rows: send --bulk %.1f MiB (%.0f rows/s), verify %.1f MiB (%.0f rows/s)"
            ", verify / --bulk %.2f\n",
            rows, bulk.peakKib / 1024.0, rows / bulk.seconds, verify.peakKib / 1024.0,
            rows / verify.seconds, bulk.seconds / verify.seconds);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString sid = qEnvironmentVariable("QUORVEX_TEST_SID");
    if (sid.isEmpty() || qEnvironmentVariableIsEmpty("ODBCSYSINI")) {
        std::fprintf(stderr, "needs the test server: ODBCSYSINI and QUORVEX_TEST_SID\n");
        return 2;
    }
    if (argc == 5 && std::string(argv[1]) == "--memory-child") {
        return MemoryChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                           std::atol(argv[4]));
    }
    // --program: the figures of the command line itself, each quorvex a whole process.
    const bool program = argc > 1 && std::string(argv[1]) == "--program";
    if (program) {
        --argc;
        ++argv;
    }
    const long rows = argc > 1 ? std::atol(argv[1]) : 200000;
    const long rowCopyRows = argc > 2 ? std::atol(argv[2]) : 20000;
    const long memoryRows = argc > 3 ? std::atol(argv[3]) : 1000000;
    const long delayUs = argc > 4 ? std::atol(argv[4]) : 500;

    QTemporaryDir folder(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
    QTemporaryDir scratch(QStringLiteral("/tmp/qvx-bench-XXXXXX"));
    WriteSixColumns(folder.filePath(QStringLiteral("LOADED.DB")), rows);
    WriteSixColumns(folder.filePath(QStringLiteral("FIRST.DB")), rowCopyRows);
    // Over the relay each row waits for a round trip: a tenth of the rows.
    WriteSixColumns(folder.filePath(QStringLiteral("FEW.DB")), rowCopyRows / 10);

    const auto speeds = program ? ProgramSpeeds : Speeds;
    speeds("on the server's own socket", sid, folder.path(), scratch.path(), rows,
           QStringLiteral("FIRST"), rowCopyRows, false);

    // The relay: a socket folder of its own, forwarding to the server's socket.
    QTemporaryDir relayFolder(QStringLiteral("/tmp/qvr-XXXXXX"));
    QProcess relay;
    relay.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    relay.start(
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench_delay_relay"),
        {relayFolder.path(), sid + QStringLiteral("/.s.PGSQL.5432"), QString::number(delayUs)});
    if (!relay.waitForReadyRead(10000)) {
        std::fprintf(stderr, "the relay did not start\n");
        return 1;
    }
    speeds(qPrintable(QStringLiteral("through the relay, %1 us each way").arg(delayUs)),
           relayFolder.path(), folder.path(), scratch.path(), rows, QStringLiteral("FEW"),
           rowCopyRows / 10, true);
    relay.terminate();
    relay.waitForFinished();

    if (memoryRows > 0) {
        program ? ProgramMemory(sid, memoryRows) : Memory(memoryRows);
    }
    Connection oracle;
    oracle.Open(OracleString(sid));
    for (const char* table : {"LOADED", "FIRST", "FEW", "JOB1", "JOB2", "JOB3", "JOB4"}) {
        Drop(oracle, QString::fromLatin1(table));
    }
    return 0;
}
