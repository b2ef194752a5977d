// The bulk copy and the comparison of a sent table, against the test server: refused rows are
// exactly the ones the server refuses, a stopped table is absent, several tables go at once on
// their own connections, and a table sent either way reads back the same as its Paradox table.

#include "data/core/ado_types.h"
#include "data/core/connection_strings.h"
#include "data/oracle/odbc_parameter_arrays.h"
#include "transfer/bulk_connections.h"
#include "transfer/bulk_statements.h"
#include "transfer/bulk_table_copy.h"
#include "transfer/row_hash.h"
#include "transfer/table_comparison.h"
#include "transfer/table_jobs.h"
#include "transfer_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>
#include <map>
#include <mutex>
#include <set>

namespace quorvex::test {
namespace {

using Outcome = BulkTableResult::Outcome;

struct RecordingObserver : BulkObserver {
    void RowsSent(std::int64_t, std::int64_t) override {
        ++arrays;
        if (afterArray) afterArray();
    }
    void RowNotWhole(const RowProblem& row) override { refused.push_back(row); }
    std::vector<std::int64_t> RefusedNumbers() const {
        std::vector<std::int64_t> numbers;
        for (const RowProblem& row : refused) numbers.push_back(row.rowNumber);
        return numbers;
    }

    int arrays = 0;
    std::function<void()> afterArray;
    std::vector<RowProblem> refused;
};

class BulkCopy : public TransferTest {
  protected:
    // The test server's login with the driver options of this run: the test command runs these
    // cases once more with QUORVEX_TEST_DRIVER_OPTIONS=Protocol=7.4-0, where psqlODBC leaves the
    // undoing of a refused array to the program, as Oracle does.
    static QString OracleString() {
        const QString options = qEnvironmentVariable("QUORVEX_TEST_DRIVER_OPTIONS");
        return TestServerConnectionString() + (options.isEmpty() ? QString() : options + u';');
    }
    std::unique_ptr<BulkConnections> Open() const {
        return BulkConnections::Open(OracleString(), ParadoxConnectionString(login));
    }
    BulkTableResult SendInBulk(const QString& table, BulkOptions options = {},
                               const StopRequest* stop = nullptr) {
        const std::unique_ptr<BulkConnections> connections = Open();
        return BulkTableCopy{
            connections->oracle, connections->paradox, table, &observer, stop, options}
            .Run();
    }
    TableComparison Compare(const QString& table) const {
        const std::unique_ptr<BulkConnections> connections = Open();
        std::optional<TableComparison> comparison =
            CompareSentTable(connections->paradox, connections->oracle, table);
        EXPECT_TRUE(comparison.has_value());
        return comparison.value_or(TableComparison{});
    }
    static QString Count(const QString& table) {
        return ServerQuery(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table))
            .value(0)
            .value(0);
    }
    static bool Exists(const QString& table) {
        return ServerQuery(
                   QStringLiteral("SELECT COUNT(*) FROM user_tables WHERE table_name = '%1'")
                       .arg(table)) == QList<QStringList>{{"1"}};
    }
    // Rows of an id, a name, a memo and an amount; the memo of the `longRows` over 2,000
    // characters, more than the NVARCHAR2(2000) column holds.
    void WriteNotes(const QString& fileName, int rows, const std::set<int>& longRows = {}) {
        std::vector<Row> values;
        for (int row = 1; row <= rows; ++row) {
            values.push_back({Int(row), Text(QStringLiteral("O'Brien %1").arg(row)),
                              longRows.count(row) ? Text(QString(2001, u'x')) : Text("a note"),
                              row % 7 == 0 ? px::Value() : Number(row * 0.17)});
        }
        WriteTable(fileName,
                   {Typed("Id", px::FieldType::Long), Alpha("Name", 30),
                    Typed("Note", px::FieldType::Memo, 10), Typed("Amount", px::FieldType::Money)},
                   values);
    }

    RecordingObserver observer;
};

TEST_F(BulkCopy, ExactlyTheRefusedRowsAreLeftOutAndEveryOtherRowArrives) {
    WriteNotes("NOTES.DB", 250, {7, 100, 101, 250});
    WriteNotes("BEFORE.DB", 3);
    const std::unique_ptr<BulkConnections> connections = Open();
    // The table before ends its transaction with a read-only row count, after which psqlODBC
    // rolls the whole of the next transaction back when its first array is refused.
    BulkTableCopy before{connections->oracle, connections->paradox, "BEFORE"};
    ASSERT_EQ(before.Run().outcome, Outcome::Complete);
    const BulkTableResult result =
        BulkTableCopy{connections->oracle, connections->paradox, "NOTES", &observer, nullptr,
                      {.arrayRows = 100}}
            .Run();

    EXPECT_EQ(result.outcome, Outcome::Complete) << result.failure.toStdString();
    EXPECT_EQ(result.paradoxRows, 250);
    EXPECT_EQ(result.refused, 4);
    EXPECT_EQ(result.arrived, 246);
    EXPECT_EQ(Count("NOTES"), "246");
    EXPECT_EQ(observer.RefusedNumbers(), (std::vector<std::int64_t>{7, 100, 101, 250}));
    EXPECT_EQ(observer.arrays, 3);
    ASSERT_EQ(observer.refused.size(), 4u);
    const RowProblem& refused = observer.refused[0];
    EXPECT_EQ(refused.table, "NOTES");
    EXPECT_EQ(refused.fieldNames, (std::vector<QString>{"Id", "Name", "Note", "Amount"}));
    // Every value as sent: the forms of the row copy, NULL as nothing.
    EXPECT_EQ(refused.values, (std::vector<std::optional<QString>>{
                                  "7", "O'Brien 7", QString(2001, u'x'), std::nullopt}));
    EXPECT_TRUE(refused.message.contains("too long")) << refused.message.toStdString();
    EXPECT_EQ(observer.refused[1].values[3], "17");

    // The comparison names exactly those rows as missing, and nothing else.
    const TableComparison comparison = Compare("NOTES");
    EXPECT_EQ(comparison.paradoxRows, 250);
    EXPECT_EQ(comparison.oracleRows, 246);
    EXPECT_EQ(comparison.onlyInParadox, 4);
    EXPECT_EQ(comparison.onlyInOracle, 0);
    std::vector<std::int64_t> shown;
    for (const ComparedRow& row : comparison.paradoxSample) shown.push_back(row.paradoxRow);
    EXPECT_EQ(shown, (std::vector<std::int64_t>{7, 100, 101, 250}));
    EXPECT_EQ(comparison.paradoxSample[3].values, observer.refused[3].values);
}

TEST_F(BulkCopy, AStoppedTableIsAbsentAndTheConnectionServesTheNextTable) {
    WriteNotes("BIG.DB", 2000);
    WriteNotes("NEXT.DB", 3);
    StopRequest stop;
    observer.afterArray = [&] {
        if (observer.arrays == 2) stop.Request();
    };
    const std::unique_ptr<BulkConnections> connections = Open();
    const StatementLog log;
    const BulkTableResult stopped =
        BulkTableCopy{connections->oracle, connections->paradox, "BIG", &observer, &stop,
                      {.arrayRows = 500}}
            .Run();
    EXPECT_EQ(stopped.outcome, Outcome::Stopped);
    EXPECT_EQ(stopped.rowsRead, 1000);
    EXPECT_EQ(stopped.arrived, 0);
    EXPECT_FALSE(stopped.tableLeftBehind);
    EXPECT_FALSE(Exists("BIG"));
    // Not into Oracle's recycle bin (the test server knows no PURGE and drops it plainly).
    EXPECT_TRUE(log.Since().contains("DROP TABLE \"BIG\" PURGE"))
        << log.Since().join('\n').toStdString();

    const BulkTableResult next =
        BulkTableCopy{connections->oracle, connections->paradox, "NEXT", &observer}.Run();
    EXPECT_EQ(next.outcome, Outcome::Complete) << next.failure.toStdString();
    EXPECT_EQ(Count("NEXT"), "3");
}

TEST_F(BulkCopy, ARowWithAValueThatCannotBeReadIsRefusedByTheReader) {
    WriteNotes("LOST.DB", 3);
    ASSERT_TRUE(QFile::remove(folder.filePath("LOST.MB")));  // where the notes are
    const BulkTableResult result = SendInBulk("LOST");
    EXPECT_EQ(result.outcome, Outcome::Complete) << result.failure.toStdString();
    EXPECT_EQ(result.refused, 3);
    EXPECT_EQ(Count("LOST"), "0");
    EXPECT_EQ(observer.RefusedNumbers(), (std::vector<std::int64_t>{1, 2, 3}));
    ASSERT_EQ(observer.refused.size(), 3u);
    EXPECT_TRUE(observer.refused[0].message.startsWith("The value of the field Note could not"))
        << observer.refused[0].message.toStdString();
    EXPECT_EQ(observer.refused[0].values,
              (std::vector<std::optional<QString>>{"1", "O'Brien 1", std::nullopt, "0.17"}));
}

TEST_F(BulkCopy, LongBytesGoInShortRunsAndArriveWhole) {
    std::vector<Row> rows;
    for (int row = 1; row <= 30; ++row) {
        rows.push_back({Int(row), row % 15 == 5 ? Raw(QByteArray(60000, char(row))) : px::Value()});
    }
    WriteTable("PICTURES.DB",
               {Typed("Id", px::FieldType::Long), Typed("Picture", px::FieldType::Blob, 10)}, rows);
    const BulkTableResult result = SendInBulk("PICTURES", {.arrayBytes = 100000});
    EXPECT_EQ(result.outcome, Outcome::Complete) << result.failure.toStdString();
    EXPECT_EQ(result.arrived, 30);
    EXPECT_TRUE(Compare("PICTURES").Same());

    // A row holding a picture that its array could not take goes once more through the row
    // copy's INSERT (its picture a hex literal); refused there too, it alone is left out.
    WriteTable("ALBUM.DB",
               {Typed("Id", px::FieldType::Long), Typed("Picture", px::FieldType::Blob, 10),
                Typed("Note", px::FieldType::Memo, 10)},
               {{Int(1), Raw("AB"), Text("fine")}, {Int(2), Raw("CD"), Text(QString(2001, u'x'))}});
    const StatementLog log;
    const BulkTableResult album = SendInBulk("ALBUM");
    EXPECT_EQ(album.arrived, 1);
    EXPECT_EQ(observer.RefusedNumbers(), std::vector<std::int64_t>{2});
    EXPECT_TRUE(log.Since().contains("INSERT INTO \"ALBUM\" VALUES('2', '4344', '" +
                                     QString(2001, u'x') + "')"));
    EXPECT_TRUE(Compare("ALBUM").paradoxSample.size() == 1);
}

TEST_F(BulkCopy, ANumberOracleCannotHoldGoesAsNullAndIsTold) {
    WriteTable("ODD.DB", {Typed("Id", px::FieldType::Long), Typed("Amount", px::FieldType::Number)},
               {{Int(1), Number(1.5)}, {Int(2), Number(-std::numeric_limits<double>::infinity())}});
    const BulkTableResult result = SendInBulk("ODD");
    EXPECT_EQ(result.arrived, 2);
    EXPECT_EQ(result.refused, 0);
    EXPECT_EQ(result.storedWithNull, 1);
    ASSERT_EQ(observer.refused.size(), 1u);
    EXPECT_TRUE(observer.refused[0].stored);
    EXPECT_EQ(observer.refused[0].rowNumber, 2);
    EXPECT_EQ(observer.refused[0].values, (std::vector<std::optional<QString>>{"2", std::nullopt}));
    EXPECT_EQ(observer.refused[0].message,
              "Row 2 of table ODD holds a number Oracle cannot store: Amount (-infinity); NULL is "
              "sent in its place.");

    // Taken with its array, the row is still not stored when the table is then rolled back.
    ServerExecute("DROP TABLE \"ODD\"");
    observer.refused.clear();
    StopRequest stop;
    observer.afterArray = [&] { stop.Request(); };
    EXPECT_EQ(SendInBulk("ODD", {}, &stop).outcome, Outcome::Stopped);
    ASSERT_EQ(observer.refused.size(), 1u);
    EXPECT_FALSE(observer.refused[0].stored);
}

TEST_F(BulkCopy, ATableAlreadyInOracleIsLeftAsItWas) {
    ServerExecute("CREATE TABLE \"KEEP\"(\"Name\" NVARCHAR2(2000))");
    ServerExecute("INSERT INTO \"KEEP\" VALUES('precious')");
    WriteNotes("KEEP.DB", 3);
    const BulkTableResult result = SendInBulk("KEEP");
    EXPECT_EQ(result.outcome, Outcome::NotCreated);
    EXPECT_TRUE(result.failure.contains("already exists")) << result.failure.toStdString();
    EXPECT_EQ(ServerQuery("SELECT \"Name\"::text FROM \"KEEP\""),
              (QList<QStringList>{{"precious"}}));
}

TEST_F(BulkCopy, TheComparisonFindsAChangedValueAMissingRowAndAnExtraRow) {
    WriteNotes("CHECKED.DB", 6);
    ASSERT_EQ(SendInBulk("CHECKED").outcome, Outcome::Complete);
    EXPECT_TRUE(Compare("CHECKED").Same());

    ServerExecute("UPDATE \"CHECKED\" SET \"Name\" = 'O''Brian 2' WHERE \"Id\" = 2");
    ServerExecute("DELETE FROM \"CHECKED\" WHERE \"Id\" = 4");
    ServerExecute("INSERT INTO \"CHECKED\" VALUES(9, 'extra', NULL, 1.5)");
    const TableComparison comparison = Compare("CHECKED");
    EXPECT_FALSE(comparison.Same());
    EXPECT_EQ(comparison.paradoxRows, 6);
    EXPECT_EQ(comparison.oracleRows, 6);
    EXPECT_EQ(comparison.onlyInParadox, 2);
    EXPECT_EQ(comparison.onlyInOracle, 2);
    ASSERT_EQ(comparison.paradoxSample.size(), 2u);
    EXPECT_EQ(comparison.paradoxSample[0].paradoxRow, 2);
    EXPECT_EQ(comparison.paradoxSample[1].values,
              (std::vector<std::optional<QString>>{"4", "O'Brien 4", "a note", "0.68"}));
    std::set<std::vector<std::optional<QString>>> oracleOnly;
    for (const ComparedRow& row : comparison.oracleSample) oracleOnly.insert(row.values);
    EXPECT_EQ(oracleOnly,
              (std::set<std::vector<std::optional<QString>>>{{"2", "O'Brian 2", "a note", "0.34"},
                                                             {"9", "extra", std::nullopt, "1.5"}}));
}

// Numbers are compared by the kind of their Paradox field, whatever column the driver describes:
// Oracle's FLOAT can come back as a decimal of scale 0, 1000000000000000 for 1E+15; an integer as
// a decimal with a fraction of zeros.
TEST_F(BulkCopy, TheComparisonReadsNumbersByTheKindOfTheirParadoxField) {
    WriteTable("FLOATS.DB",
               {Typed("Id", px::FieldType::Long), Typed("Amount", px::FieldType::Number)},
               {{Int(1), Number(1e15)}, {Int(2), Number(-2.5e16)}, {Int(3), Number(7)}});
    ServerExecute("CREATE TABLE \"FLOATS\"(\"Id\" NUMERIC(10,2), \"Amount\" NUMERIC(20,0))");
    ServerExecute(
        "INSERT INTO \"FLOATS\" VALUES(1, 1000000000000000), (2, -25000000000000000), "
        "(3, 7)");
    EXPECT_TRUE(Compare("FLOATS").Same());
    ServerExecute("UPDATE \"FLOATS\" SET \"Amount\" = 1000000000100000 WHERE \"Id\" = 1");
    EXPECT_EQ(Compare("FLOATS").onlyInOracle, 1);
}

TEST_F(BulkCopy, SeveralTablesGoAtOnceEachJobOnItsOwnConnections) {
    const QStringList tables = {"FIRST", "SECOND", "THIRD"};
    for (const QString& table : tables) WriteNotes(table + ".DB", 700, {650});
    std::mutex lock;
    QStringList done;
    const QString oracleString = OracleString();
    const QString paradoxString = ParadoxConnectionString(login);
    const QStringList unreached = RunTableJobs(
        tables, 2,
        [&]() -> TableJob {
            // What fails on a job's thread is a failure of the test, never an exception that
            // would end the whole test program.
            std::shared_ptr<BulkConnections> own;
            try {
                own = BulkConnections::Open(oracleString, paradoxString);
            } catch (const std::exception& failure) {
                ADD_FAILURE() << failure.what();
                return {};
            }
            return [own, &lock, &done](const QString& table) {
                RecordingObserver refusals;
                const BulkTableResult sent =
                    BulkTableCopy{own->oracle, own->paradox, table,
                                  &refusals,   nullptr,      {.arrayRows = 200}}
                        .Run();
                std::optional<TableComparison> compared;
                try {
                    compared = CompareSentTable(own->paradox, own->oracle, table);
                } catch (const std::exception& failure) {
                    ADD_FAILURE() << table.toStdString() << ": " << failure.what();
                }
                const std::lock_guard guard(lock);
                if (sent.outcome == Outcome::Complete &&
                    refusals.RefusedNumbers() == std::vector<std::int64_t>{650} && compared &&
                    compared->onlyInParadox == 1 && compared->onlyInOracle == 0) {
                    done.append(table);
                }
                return true;
            };
        },
        nullptr);
    EXPECT_TRUE(unreached.isEmpty());
    done.sort();
    EXPECT_EQ(done, (QStringList{"FIRST", "SECOND", "THIRD"}));

    StopRequest stop;
    stop.Request();
    EXPECT_EQ(RunTableJobs(
                  tables, 2, [] { return TableJob([](const QString&) { return true; }); }, &stop),
              tables);
}

TEST_F(BulkCopy, ALongBinaryBindGoesIntoABinaryColumn) {
    // Oracle's bind for a BLOB column; the test server takes it into bytea.
    ServerExecute("CREATE TABLE \"PICTURES\"(\"Id\" INT, \"Picture\" bytea)");
    const std::unique_ptr<BulkConnections> connections = Open();
    OdbcParameterArrays arrays(
        {OdbcParameterArrays::Bind::Text, OdbcParameterArrays::Bind::LongBinary});
    const QByteArray picture(3000, '\xA5');
    for (const char* id : {"1", "2"}) {
        arrays.AddText(QString::fromLatin1(id));
        id[0] == '1' ? arrays.AddBytes(picture) : arrays.AddNull();
    }
    EXPECT_FALSE(arrays.Execute(connections->oracle.OdbcConnectionHandle(),
                                "INSERT INTO \"PICTURES\" (\"Id\", \"Picture\") VALUES(?, ?)", 0,
                                2));
    EXPECT_EQ(ServerQuery("SELECT \"Id\", md5(\"Picture\") FROM \"PICTURES\" ORDER BY 1"),
              (QList<QStringList>{
                  {"1", QCryptographicHash::hash(picture, QCryptographicHash::Md5).toHex()},
                  {"2", QString()}}));
    EXPECT_EQ(arrays.BytesAt(0, 1), picture);
    EXPECT_EQ(arrays.BytesAt(1, 1), std::nullopt);
}

TEST(BulkStatements, BlobColumnsGoLastAndNamesAreChecked) {
    const BulkInsert insert = BuildBulkInsertStatement(
        "T", {{"Id", adInteger}, {"Photo", adLongVarBinary}, {"Name", adVarWChar}});
    EXPECT_EQ(insert.text, "INSERT INTO \"T\" (\"Id\", \"Name\", \"Photo\") VALUES(?, ?, ?)");
    EXPECT_EQ(insert.fieldOfMarker, (std::vector<std::size_t>{0, 2, 1}));
    EXPECT_EQ(insert.blobMarker, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(BuildBulkInsertStatement("T", {{"Id", adInteger}, {"Photo", adLongVarBinary}}).text,
              "INSERT INTO \"T\" VALUES(?, ?)");
    EXPECT_EQ(SelectColumnsStatement("T", {"Id", "Name"}), "SELECT \"Id\", \"Name\" FROM \"T\"");
    EXPECT_THROW(BuildBulkInsertStatement("A\"B", {{"Id", adInteger}}), Failure);
    EXPECT_THROW(SelectColumnsStatement("T", {"A\"B"}), Failure);

    // A status array as a driver may leave it (0 success, 6 with information, 7 unused, 1
    // diagnostics unavailable, 5 error): only the first two count as taken, and only up to the
    // processed count.
    EXPECT_EQ(RowsNotTaken({0, 6, 0}, 3), std::nullopt);
    EXPECT_EQ(RowsNotTaken({0, 7, 0, 1, 5}, 5),
              "The ODBC driver did not take 3 of the 5 rows of the array (row 2 unused, row 4 "
              "diagnostics unavailable, row 5 an error).");
    EXPECT_EQ(RowsNotTaken({0, 0, 0}, 2),
              "The ODBC driver did not take 1 of the 3 rows of the array (row 3 not processed).");
}

TEST(RowHashes, KnownDigestAndNoTwoRowsAlike) {
    // MurmurHash3 x64 128 of "hello", seed 0, as its two halves are usually written.
    const RowHash hello = HashBytes("hello", 5);
    EXPECT_EQ(hello.low, 0xcbd8a7b341bd9b02ULL);
    EXPECT_EQ(hello.high, 0x5b1e906a48ae1d19ULL);
    const auto digest = [](std::vector<std::optional<QString>> values) {
        RowHasher hasher;
        hasher.Begin();
        for (const auto& value : values) hasher.Add(value);
        return hasher.Finish();
    };
    EXPECT_EQ(digest({"ab", "c"}), digest({"ab", "c"}));
    EXPECT_FALSE(digest({"ab", "c"}) == digest({"a", "bc"}));
    EXPECT_FALSE(digest({std::nullopt}) == digest({""}));
}

// Real Paradox tables sent row by row and then in bulk both read back as their Paradox tables:
// both copies store the same values.
class CorpusBothWays : public BulkCopy, public ::testing::WithParamInterface<const char*> {};

TEST_P(CorpusBothWays, RowByRowAndBulkStoreTheSameValues) {
    const QString corpus = QStringLiteral(QUORVEX_CORPUS_DIR "/") + QString::fromLatin1(GetParam());
    QStringList names;
    for (const QString& file : QDir(QStringLiteral(QUORVEX_CORPUS_DIR "/expected/") + GetParam())
                                   .entryList({"*.json"}, QDir::Files)) {
        QFile json(QStringLiteral(QUORVEX_CORPUS_DIR "/expected/") + GetParam() + u'/' + file);
        ASSERT_TRUE(json.open(QIODevice::ReadOnly));
        if (QJsonDocument::fromJson(json.readAll()).object().value("error").isNull()) {
            names.append(QFileInfo(file).completeBaseName().toUpper());
        }
    }
    ASSERT_FALSE(names.isEmpty());
    login.folder = corpus;
    ShowParadoxTables(names, names);
    Send();
    std::map<QString, TableComparison> rowByRow;
    for (const QString& name : names) {
        rowByRow[name] = Compare(name);  // the server stores short hex literals as Oracle does
    }
    DropAllTables();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        observer.refused.clear();
        const BulkTableResult sent = SendInBulk(name);
        ASSERT_EQ(sent.outcome, Outcome::Complete) << sent.failure.toStdString();
        const TableComparison bulk = Compare(name);
        const TableComparison& rows = rowByRow[name];
        // The same rows read back, and the only rows missing are the ones the server refused.
        EXPECT_EQ(bulk.onlyInOracle, 0);
        EXPECT_EQ(rows.onlyInOracle, 0);
        EXPECT_EQ(bulk.onlyInParadox, sent.refused);
        EXPECT_EQ(rows.onlyInParadox, sent.refused);
        EXPECT_EQ(rows.oracleRows, bulk.oracleRows);
        for (std::size_t i = 0; i < bulk.paradoxSample.size(); ++i) {
            EXPECT_EQ(bulk.paradoxSample[i].paradoxRow, observer.refused.at(i).rowNumber);
            EXPECT_EQ(rows.paradoxSample.at(i).paradoxRow, bulk.paradoxSample[i].paradoxRow);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, CorpusBothWays, ::testing::Values("fields", "db", "encrypt"));

}  // namespace
}  // namespace quorvex::test
