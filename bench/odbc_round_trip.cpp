// What the ODBC path costs against the test server: opening a connection (every test, listing
// and command opens its own), executing one INSERT of literal text (the row copy sends one per
// row), and fetching a whole result through a client-side cursor (the Oracle table listing), with
// the memory the fetched rows take.
//
// Needs a running test server (scripts/test-server.sh) and its environment:
//   ODBCSYSINI=DIR QUORVEX_TEST_SID=DIR/sock bench_odbc_round_trip [ROWS=20000]

#include "data/core/ado_types.h"
#include "data/access/connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

using quorvex::Connection;
using quorvex::Recordset;

QString ConnectionString() {
    return QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=") +
           qEnvironmentVariable("QUORVEX_TEST_SID") + QStringLiteral(";Uid=scott;Pwd=tiger;");
}

// The process's resident set size in KiB, from /proc.
long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double MillisecondsPerOpen(int opens) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < opens; ++i) {
        Connection connection;
        connection.Open(ConnectionString());
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6 / opens;
}

double InsertsPerSecond(Connection& connection, int rows) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rows; ++i) {
        connection.Execute(QStringLiteral("INSERT INTO \"BENCH\" VALUES ('%1', '%2')")
                               .arg(i)
                               .arg(QStringLiteral("customer name number %1").arg(i)));
    }
    return rows / (static_cast<double>(timer.nsecsElapsed()) / 1e9);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QUORVEX_TEST_SID")) {
        std::fprintf(stderr,
                     "No test server: start one with scripts/test-server.sh and set ODBCSYSINI "
                     "and QUORVEX_TEST_SID (see README).\n");
        return 2;
    }
    const int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
    try {
        std::printf("open + close a connection: %.2f ms\n", MillisecondsPerOpen(50));

        Connection connection;
        connection.Open(ConnectionString());
        connection.Execute(QStringLiteral("DROP TABLE IF EXISTS \"BENCH\""));
        connection.Execute(
            QStringLiteral("CREATE TABLE \"BENCH\" (\"ID\" INT, \"NAME\" VARCHAR(60))"));
        std::printf("INSERT of literal text, one per row: %.0f rows/s (%d rows)\n",
                    InsertsPerSecond(connection, rows), rows);

        Connection client;
        client.SetCursorLocation(quorvex::adUseClient);
        client.Open(ConnectionString());
        const long before = ResidentKiB();
        QElapsedTimer timer;
        timer.start();
        Recordset result;
        result.Open(QStringLiteral("SELECT * FROM \"BENCH\""), client);
        const double fetchSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        const long after = ResidentKiB();
        std::printf(
            "client-side fetch of the whole result: %.0f rows/s, %lld rows, about %.0f "
            "bytes of memory a row\n",
            static_cast<double>(result.RecordCount()) / fetchSeconds,
            static_cast<long long>(result.RecordCount()),
            1024.0 * static_cast<double>(after - before) /
                static_cast<double>(result.RecordCount()));
        result.Close();
        connection.Execute(QStringLiteral("DROP TABLE \"BENCH\""));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "failed: %s\n", failure.what());
        return 1;
    }
    return 0;
}
