// The server's own limit for a transfer: the rows "Send Table/s To Oracle" just copied, loaded
// once more into a table of the same columns with one COPY (psql's \copy over the same socket),
// side by side in each round with the command itself.
//
//   bench_copy_limit [ROWS] [ROUNDS]      defaults: 100000 and 3
//
// Needs the test server's environment (ODBCSYSINI, QUORVEX_TEST_SID). The COPY is timed as the
// psql process that runs it, less the time of a psql that only connects and runs "SELECT 1".
#include "bench_support.h"
#include "data/paradox/field.h"
#include "data/paradox/value.h"
#include "psql.h"
#include "screens/table_list_widget.h"
#include "shell/tables_screen.h"
#include "support/recording_ui.h"
#include "table_writer.h"
#include "transfer/send_tables.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace quorvex;
using namespace quorvex::bench;
namespace px = quorvex::paradox;
namespace pw = quorvex::pxwriter;

const QString kTable = QStringLiteral("LOADED");
const QString kCopyTable = QStringLiteral("LOADED_BY_COPY");

void WriteTable(const QString& path, int rows) {
    pw::TableDesign design;
    design.fields = {{"ID", px::FieldType::Long, 0},     {"NAME", px::FieldType::Alpha, 30},
                     {"CITY", px::FieldType::Alpha, 20}, {"AMOUNT", px::FieldType::Money, 0},
                     {"QTY", px::FieldType::Short, 0},   {"DAY", px::FieldType::Date, 0}};
    pw::TableWriter writer(path.toStdString(), design);
    // Day 1 is 0001-01-01, Julian day 1721426.
    const std::int32_t firstDay =
        static_cast<std::int32_t>(QDate(1999, 1, 1).toJulianDay() - 1721425);
    for (int row = 1; row <= rows; ++row) {
        writer.addRow(
            {px::Value::Integer(row), px::Value::Text("Customer number " + std::to_string(row)),
             row % 5 == 0 ? px::Value() : px::Value::Text("City " + std::to_string(row % 97)),
             px::Value::Number(row * 0.25), px::Value::Integer(row % 1000),
             px::Value::Date(px::DayNumber{firstDay + row % 3000})});
    }
    writer.finish();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const QString sid = qEnvironmentVariable("QUORVEX_TEST_SID");
    if (sid.isEmpty() || qEnvironmentVariableIsEmpty("ODBCSYSINI")) {
        std::fprintf(stderr, "needs the test server: ODBCSYSINI and QUORVEX_TEST_SID\n");
        return 1;
    }

    QTemporaryDir scratch;
    WriteTable(scratch.filePath(kTable + QStringLiteral(".DB")), rows);
    const QString exported = scratch.filePath(QStringLiteral("rows.csv"));

    const quorvex::test::FixedFields fields = Login(scratch.path());

    std::printf("%d rows of 6 columns, %d rounds\n\n", rows, rounds);
    std::printf("%-6s %16s %16s %16s %10s\n", "round", "command", "one COPY", "COPY + psql",
                "ratio");
    std::vector<double> ratios;
    for (int round = 1; round <= rounds; ++round) {
        Psql(sid, QStringLiteral("DROP TABLE IF EXISTS \"%1\"; DROP TABLE IF EXISTS \"%2\"")
                      .arg(kTable, kCopyTable));

        TableListWidget oracleList;
        TableListWidget paradoxList;
        paradoxList.AddItem(kTable);
        paradoxList.SetSelected(0, true);
        paradoxList.SetListIndex(0);
        quorvex::test::RecordingPointer pointer;
        struct : ProgressBar {
            double value = 0;
            double Value() const override { return value; }
            void SetValue(double v) override { value = v; }
        } progress;
        // Every failure report printed, bare.
        CountingDialogs dialogs(vbYes, std::numeric_limits<int>::max(), "");
        TablesScreen screen{oracleList, paradoxList, progress, pointer, dialogs, fields};
        QElapsedTimer timer;
        timer.start();
        SendTablesToOracle(screen);
        const double commandMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (dialogs.errors != 0 || Count(sid, kTable) != rows) {
            std::fprintf(stderr, "the command did not copy every row\n");
            return 1;
        }

        // The very rows the command sent, as the server holds them, loaded again by COPY.
        if (Psql(sid, QStringLiteral("\\copy \"%1\" TO '%2' CSV").arg(kTable, exported)) < 0 ||
            Psql(sid, QStringLiteral("CREATE TABLE \"%1\" (LIKE \"%2\")").arg(kCopyTable, kTable)) <
                0) {
            return 1;
        }
        const double startMs = Psql(sid, QStringLiteral("SELECT 1"));
        const double copyWithPsqlMs =
            Psql(sid, QStringLiteral("\\copy \"%1\" FROM '%2' CSV").arg(kCopyTable, exported));
        if (copyWithPsqlMs < 0 || Count(sid, kCopyTable) != rows) {
            std::fprintf(stderr, "the COPY did not load every row\n");
            return 1;
        }
        const double copyMs = std::max(0.001, copyWithPsqlMs - startMs);
        const double commandRate = rows / (commandMs / 1000.0);
        const double copyRate = rows / (copyMs / 1000.0);
        ratios.push_back(commandRate / copyRate);
        std::printf("%-6d %10.0f rows/s %10.0f rows/s %10.0f rows/s %10.4f\n", round, commandRate,
                    copyRate, rows / (copyWithPsqlMs / 1000.0), ratios.back());
    }
    Psql(sid, QStringLiteral("DROP TABLE IF EXISTS \"%1\"; DROP TABLE IF EXISTS \"%2\"")
                  .arg(kTable, kCopyTable));
    std::printf(
        "\nmedian ratio command / COPY: %.4f (the command reaches 1/%.0f of the server's "
        "bulk load)\n",
        Median(ratios), 1.0 / Median(ratios));
    return 0;
}
