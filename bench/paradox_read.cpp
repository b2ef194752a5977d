// Reading Paradox tables end to end: a generated table of about 100 MB (1,000,000 mixed rows)
// and one of 43,185 rows shaped like a real zip-code table, each read once through the table
// reader (every value decoded) and once through the Paradox driver (every field value of every
// row, as the transfer reads them), in a child process each so that the peak memory of the
// reading alone is measured. `cat FILE > /dev/null` on the same file gives the I/O baseline.
//
// usage: bench_paradox_read [ROWS]      (ROWS of the large table, default 1000000)

#include "table_writer.h"

#include "data/core/ado_types.h"
#include "data/access/connection.h"
#include "data/paradox/calendar.h"
#include "data/paradox/table.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using quorvex::paradox::FieldType;
using quorvex::paradox::Value;
using Clock = std::chrono::steady_clock;

struct Measured {
    double seconds = 0;
    std::uint64_t rows = 0;
    std::uint64_t checksum = 0;
};

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void WriteMixedTable(const fs::path& path, std::uint64_t rows) {
    quorvex::pxwriter::TableDesign design;
    design.version = quorvex::pxwriter::Version::V7;
    design.codePage = 1252;
    design.blockSizeKib = 4;
    design.fields = {
        {"Id", FieldType::AutoIncrement}, {"Name", FieldType::Alpha, 20},
        {"City", FieldType::Alpha, 20},   {"Born", FieldType::Date},
        {"Amount", FieldType::Money},     {"Ratio", FieldType::Number},
        {"Count", FieldType::Short},      {"Active", FieldType::Logical},
        {"At", FieldType::Time},          {"Stamp", FieldType::Timestamp},
        {"Code", FieldType::Alpha, 10},   {"Notes", FieldType::Memo, 20},
    };
    const char* cities[] = {"München", "Zürich", "São Paulo", "Reykjavík", "Ålesund", "Bogotá"};
    quorvex::pxwriter::TableWriter writer(path.string(), design);
    for (std::uint64_t i = 0; i < rows; ++i) {
        const auto n = static_cast<std::int32_t>(i);
        const std::int32_t day = 700000 + n % 30000;
        // Most notes fit the 10-byte leader; one row in a hundred keeps a longer note in the .MB.
        Value notes;
        if (i % 100 == 0) {
            notes = Value::Text(std::string(200, 'n'));
        } else if (i % 3 == 0) {
            notes = Value::Text("short");
        }
        std::string name = "Customer ";
        name += std::to_string(i);
        std::string code = "C";
        code += std::to_string(i % 99999);
        writer.addRow({
            Value::Integer(n + 1),
            Value::Text(name),
            Value::Text(cities[i % 6]),
            Value::Date({day}),
            Value::Number(n * 0.01),
            Value::Number(-n / 7.0),
            Value::Integer(n % 30000),
            Value::Logical(i % 2 == 0),
            Value::Time({n % 86400000}),
            Value::Stamp({std::int64_t{day} * quorvex::paradox::kMillisecondsPerDay + n}),
            i % 10 == 0 ? Value() : Value::Text(code),
            notes,
        });
    }
    writer.finish();
}

void WriteZipCodes(const fs::path& path) {
    quorvex::pxwriter::TableDesign design;
    design.version = quorvex::pxwriter::Version::V4;
    design.codePage = 437;
    design.blockSizeKib = 2;
    design.fields = {{"Zip", FieldType::Alpha, 5},
                     {"City", FieldType::Alpha, 21},
                     {"State", FieldType::Alpha, 2},
                     {"Area", FieldType::Short},
                     {"County", FieldType::Short}};
    quorvex::pxwriter::TableWriter writer(path.string(), design);
    for (int i = 0; i < 43185; ++i) {
        char zip[8];
        std::snprintf(zip, sizeof zip, "%05d", 501 + i * 2);
        std::string city = "Springfield ";
        city += std::to_string(i % 977);
        writer.addRow({Value::Text(zip), Value::Text(city), Value::Text(i % 2 == 0 ? "NY" : "TX"),
                       Value::Integer(200 + i % 800), Value::Integer(i % 3000)});
    }
    writer.finish();
}

Measured ReadWithReader(const fs::path& path) {
    Measured m;
    const auto start = Clock::now();
    quorvex::paradox::Table table = quorvex::paradox::Table::Open(path.string());
    std::vector<Value> row;
    while (table.next()) {
        table.readRow(row);
        ++m.rows;
        m.checksum += row[0].isNull() ? 0 : static_cast<std::uint64_t>(row[0].kind());
    }
    m.seconds = Since(start);
    return m;
}

Measured ReadWithDriver(const fs::path& path) {
    Measured m;
    const auto start = Clock::now();
    quorvex::Connection connection;
    connection.SetCursorLocation(quorvex::adUseClient);
    connection.Open(QStringLiteral("Driver={Microsoft Paradox Driver (*.db )};DriverID=538;"
                                   "Fil=Paradox 5.X;DefaultDir=%1;Dbq=%1;")
                        .arg(QString::fromStdString(path.parent_path().string())));
    quorvex::Recordset rs;
    rs.Open(
        QStringLiteral("SELECT * FROM \"%1\"").arg(QString::fromStdString(path.stem().string())),
        connection);
    const std::int64_t count = rs.RecordCount();
    const int fields = rs.FieldCount();
    for (std::int64_t i = 0; i < count; ++i) {
        for (int f = 0; f < fields; ++f) {
            m.checksum += static_cast<std::uint64_t>(rs.FieldValue(f).kind());
        }
        rs.MoveNext();
        ++m.rows;
    }
    rs.Close();
    m.seconds = Since(start);
    return m;
}

// Runs `read` in a child process and returns its figures with the child's peak memory (KiB),
// so that the memory of generating the tables does not count.
template <typename Read>
std::pair<Measured, long> InChild(Read read, const fs::path& path) {
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const Measured m = read(path);
        const bool sent = write(fds[1], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
        _exit(sent ? 0 : 1);
    }
    close(fds[1]);
    Measured m;
    const bool received = ::read(fds[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
    close(fds[0]);
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "reading %s failed\n", path.c_str());
        std::exit(1);
    }
    return {m, usage.ru_maxrss};
}

double CatSeconds(const fs::path& path) {
    const auto start = Clock::now();
    const std::string command = "cat '" + path.string() + "' > /dev/null";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "cat failed\n");
    }
    return Since(start);
}

void Report(const char* label, const fs::path& path, std::uint64_t recordSize) {
    const double mib = 1024.0 * 1024.0;
    const double fileMb = static_cast<double>(fs::file_size(path)) / mib;
    const double cat = CatSeconds(path);
    std::printf("%s: %s, %.1f MiB, cat %.3f s (%.0f MiB/s)\n", label, path.filename().c_str(),
                fileMb, cat, fileMb / cat);
    const auto show = [&](const char* how, const std::pair<Measured, long>& result) {
        const Measured& m = result.first;
        const double recordMb = static_cast<double>(m.rows * recordSize) / mib;
        std::printf(
            "  %-8s %9llu rows in %.3f s: %.0f rows/s, %.1f MiB/s of record data, "
            "%.1f MiB/s of file, peak RSS %.1f MiB\n",
            how, static_cast<unsigned long long>(m.rows), m.seconds, m.rows / m.seconds,
            recordMb / m.seconds, fileMb / m.seconds, result.second / 1024.0);
    };
    show("reader", InChild(ReadWithReader, path));
    show("driver", InChild(ReadWithDriver, path));
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t rows = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const fs::path folder =
        fs::temp_directory_path() / ("quorvex-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::printf("writing the tables in %s ...\n", folder.c_str());
    const auto start = Clock::now();
    WriteMixedTable(folder / "MIXED.DB", rows);
    WriteZipCodes(folder / "ZIPCODES.DB");
    std::printf("written in %.1f s\n", Since(start));
    {
        quorvex::paradox::Table mixed =
            quorvex::paradox::Table::Open((folder / "MIXED.DB").string());
        quorvex::paradox::Table zips =
            quorvex::paradox::Table::Open((folder / "ZIPCODES.DB").string());
        Report("large table", folder / "MIXED.DB", mixed.header().recordSize);
        Report("ordinary table", folder / "ZIPCODES.DB", zips.header().recordSize);
    }
    fs::remove_all(folder);
    return 0;
}
