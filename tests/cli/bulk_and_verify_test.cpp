// `quorvex send --bulk`, `--jobs` and `quorvex verify` through the real program against the test
// server: refused rows, a stop, a server that goes away under several jobs, and the proof that
// the row-by-row and the bulk send store the same values.

#include "command_line_fixture.h"
#include "data/paradox/calendar.h"
#include "support/private_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <limits>
#include <set>

namespace quorvex::test {
namespace {

class BulkCommandLine : public CommandLine {
  protected:
    // The row numbers of a verify report's rows found only in Paradox, for its first table.
    static std::set<int> OnlyInParadoxRows(const QJsonObject& report) {
        std::set<int> rows;
        for (const QJsonValue& row :
             report["tables"][0].toObject()["onlyInParadoxRows"].toArray()) {
            rows.insert(row["row"].toInt());
        }
        return rows;
    }
};

TEST_F(BulkCommandLine, ExactlyTheRefusedRowsAreRecordedAndVerifyNamesThemAsMissing) {
    QStringList memos(5000, "a note");
    for (const int row : {7, 2500, 4999}) memos[row - 1] = QString(2001, u'x');
    WriteMemoTable("NOTES", memos);
    WriteTable(
        "NUM", {{"Id", px::FieldType::Short, 0}, {"N", px::FieldType::Number, 0}},
        {{px::Value::Integer(1), px::Value::Number(2.5)},
         {px::Value::Integer(2), px::Value::Number(std::numeric_limits<double>::infinity())}});
    const QString rejects = config.filePath("rejects.jsonl");

    const QString sendReport = config.filePath("send.json");
    const ProgramRun run = Run(
        QStringList{"send", "--bulk", "--overwrite", "--rejects", rejects, "--report", sendReport} +
        Login());

    EXPECT_EQ(run.exitStatus, 1) << run.err.toStdString();
    EXPECT_EQ(Count("NOTES"), 4997);
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nNOTES +5000 +4997 +3 +ERROR: .*too long")))
        << run.out.toStdString();
    // A number Oracle cannot hold is told as the row-by-row send tells it.
    EXPECT_TRUE(
        run.out.contains(QRegularExpression("\nNUM +2 +1 +1 +Row 2 of table NUM holds a number "
                                            "Oracle cannot store: N \\(infinity\\); NULL is")));
    QFile file(rejects);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::set<std::pair<QString, int>> recorded;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        const QJsonObject row = QJsonDocument::fromJson(line).object();
        recorded.insert({row["table"].toString(), row["row"].toInt()});
        if (row["table"] == "NOTES") {
            EXPECT_EQ(row["values"]["Memo"].toString().size(), 2001);
            EXPECT_FALSE(row["stored"].toBool());
            EXPECT_TRUE(row["note"].toString().contains("send --native carries it whole"));
        }
    }
    EXPECT_EQ(recorded, (std::set<std::pair<QString, int>>{
                            {"NOTES", 7}, {"NOTES", 2500}, {"NOTES", 4999}, {"NUM", 2}}));
    // The ledger's entry, committed with the rows.
    EXPECT_EQ(ServerQuery("SELECT \"ROWS_READ\", \"ROWS_ARRIVED\", \"REFUSED_ROWS\", "
                          "\"REJECTS_FILE\", \"OUTCOME\", LENGTH(\"COLUMN_FINGERPRINT\") FROM "
                          "\"QUORVEX$LEDGER_TABLES\" WHERE \"TABLE_NAME\" = 'NOTES'"),
              (QList<QStringList>{{"5000", "4997", "7,2500,4999", rejects, "incomplete", "64"}}));
    EXPECT_EQ(ReadJson(sendReport)["run"], 1);  // its id in the ledger, "run 1" in the texts
    for (const QJsonValue& table : ReadJson(sendReport)["tables"].toArray()) {
        EXPECT_EQ(table["note"].toString().contains("send --native carries it whole"),
                  table["table"] == "NOTES");
    }

    const QString report = config.filePath("verify.json");
    const ProgramRun verified = Run(QStringList{"verify", "NOTES", "--report", report} + Login());
    EXPECT_EQ(verified.exitStatus, 1) << verified.err.toStdString();
    // The ledger tells the rows refused at the send from rows missing since.
    EXPECT_TRUE(
        verified.out.contains("\nNOTES: 3 rows only in Paradox, 3 of them refused at its "
                              "send in run 1:\n  row 7 (refused at send): {\"Id\": \"7\""))
        << verified.out.toStdString();
    const QJsonObject json = ReadJson(report);
    EXPECT_EQ(json["command"], "verify");
    EXPECT_EQ(json["exitStatus"], 1);
    const QJsonObject notes = json["tables"][0].toObject();
    EXPECT_EQ(notes["result"], "differs");
    EXPECT_EQ(notes["paradoxRows"], 5000);
    EXPECT_EQ(notes["oracleRows"], 4997);
    EXPECT_EQ(notes["onlyInOracle"], 0);
    EXPECT_EQ(OnlyInParadoxRows(json), (std::set<int>{7, 2500, 4999}));
    EXPECT_TRUE(notes["onlyInParadoxRows"][0]["refusedAtSend"].toBool());

    // Natively the long memos and the infinity arrive as they are.
    EXPECT_EQ(Run(QStringList{"send", "--native", "--bulk", "--overwrite"} + Login()).exitStatus,
              0);
    EXPECT_EQ(Count("NOTES"), 5000);
    EXPECT_EQ(ServerQuery("SELECT \"N\" FROM \"NUM\" WHERE \"Id\" = 2"),
              QList<QStringList>{{"Infinity"}});

    // A file that cannot be read is not compared, for the reader's reason.
    ASSERT_TRUE(QFile(folder.filePath("EMPTY.DB")).open(QIODevice::WriteOnly));
    const ProgramRun empty = Run(QStringList{"verify", "EMPTY"} + Login());
    EXPECT_TRUE(empty.out.contains(QRegularExpression("\nEMPTY +- +- +- +- +not compared: .+")))
        << empty.out.toStdString();
}

TEST_F(BulkCommandLine, CodePageReadsTextWhoseHeaderNamesAnotherPage) {
    // A header naming 936 over text written in Cyrillic 1251, as real archives have them.
    const QString cyrillic = QString::fromUtf8("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82");
    pw::TableDesign design;
    design.codePage = 1251;
    design.fields = {{"Id", px::FieldType::Short, 0}, {"Name", px::FieldType::Alpha, 20}};
    const QString path = folder.filePath("CYR.DB");
    pw::WriteTable(QFile::encodeName(path).toStdString(), design,
                   {{px::Value::Integer(1), px::Value::Text(cyrillic.toStdString())}});
    QFile header(path);
    ASSERT_TRUE(header.open(QIODevice::ReadWrite) && header.seek(0x6A));
    header.write("\xA8\x03", 2);  // 936
    header.close();
    const auto sent = [] { return ServerQuery("SELECT \"Name\" FROM \"CYR\"").value(0).value(0); };

    EXPECT_EQ(Run(QStringList{"send", "--code-page", "99999", "CYR"} + Login()).exitStatus, 2);
    EXPECT_FALSE(Tables().contains("CYR"));
    ASSERT_EQ(Run(QStringList{"send", "--overwrite", "CYR"} + Login()).exitStatus, 0);
    EXPECT_NE(sent(), cyrillic);
    for (const QStringList& how : {QStringList{"--bulk"}, QStringList{}}) {
        const ProgramRun run =
            Run(QStringList{"send", "--overwrite", "--code-page", "1251", "CYR"} + how + Login());
        ASSERT_EQ(run.exitStatus, 0) << run.err.toStdString();
        EXPECT_EQ(sent(), cyrillic) << how.join(' ').toStdString();
    }
    EXPECT_EQ(Run(QStringList{"verify", "CYR"} + Login()).exitStatus, 1);
    EXPECT_EQ(Run(QStringList{"verify", "--code-page=1251", "CYR"} + Login()).exitStatus, 0);
    const ProgramRun dry =
        Run(QStringList{"send", "--dry-run", "--resume", "--code-page", "1251", "CYR"} + Login());
    EXPECT_TRUE(dry.out.contains("keep")) << dry.out.toStdString();
}

TEST_F(BulkCommandLine, CtrlCRollsTheTableBackAndResumeSendsItWhole) {
    std::vector<std::vector<px::Value>> rows;
    for (int id = 1; id <= 50000; ++id) {
        rows.push_back({px::Value::Integer(id), px::Value::Text("a name of some length")});
    }
    WriteTable("BIG", {{"Id", px::FieldType::Long, 0}, {"Name", px::FieldType::Alpha, 30}}, rows);
    WriteMemoTable("SMALL", {"a", "b"});
    ProgramOnTerminal program(QStringList{"send", "--bulk", "--overwrite"} + Login(),
                              ProgramEnvironment(config.path(), "tiger"));
    ASSERT_TRUE(program.WaitFor(" rows/s")) << program.Shown().toStdString();  // arrays flow

    program.Type("\x03");

    EXPECT_EQ(program.Wait(), 130) << program.Shown().toStdString();
    EXPECT_TRUE(program.Shown().contains(QRegularExpression(
        "\nBIG +50000 +0 +0 +\\(rolled back: stopped after \\d+ of 50000 rows; not in Oracle\\)")))
        << program.Shown().toStdString();
    EXPECT_TRUE(
        program.Shown().contains(QRegularExpression("\nSMALL +- +- +- +\\(not reached\\)")));
    EXPECT_TRUE(Tables().isEmpty());

    const ProgramRun resumed = Run(QStringList{"send", "--bulk", "--resume"} + Login());
    EXPECT_EQ(resumed.exitStatus, 0) << resumed.err.toStdString();
    EXPECT_EQ(Count("BIG"), 50000);
    const ProgramRun verified = Run(QStringList{"verify", "--jobs", "2"} + Login());
    EXPECT_EQ(verified.exitStatus, 0) << verified.out.toStdString();
    EXPECT_TRUE(verified.out.endsWith("\n2 of 2 tables are the same.\n"));
}

TEST_F(BulkCommandLine, CtrlCUnderThreeJobsStopsEveryJobAtItsArray) {
    for (const char* big : {"BIG1", "BIG2", "BIG3"}) WriteMemoTable(big, QStringList(30000, "b"));
    ProgramOnTerminal program(QStringList{"send", "--bulk", "--jobs", "3", "--overwrite"} + Login(),
                              ProgramEnvironment(config.path(), "tiger"));
    ASSERT_TRUE(program.WaitFor(" rows/s")) << program.Shown().toStdString();
    QDeadlineTimer deadline(300000);
    while (Tables().size() < 3) {  // every job is in its table
        ASSERT_FALSE(deadline.hasExpired()) << program.Shown().toStdString();
        QThread::msleep(20);
    }

    program.Type("\x03");

    EXPECT_EQ(program.Wait(), 130) << program.Shown().toStdString();
    EXPECT_EQ(program.Shown().count(QRegularExpression(
                  "\nBIG[123] +30000 +0 +0 +\\(rolled back: stopped (before|after)")),
              3)
        << program.Shown().toStdString();
}

TEST_F(BulkCommandLine, AServerStoppedUnderThreeJobsEndsEveryJobWithOneReportEach) {
    PrivateServer server;
    ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
    WriteMemoTable("A1", QStringList(10, "a"));  // the first two, committed before the stop
    WriteMemoTable("A2", QStringList(10, "a"));
    for (const char* big : {"BIG1", "BIG2", "BIG3"}) WriteMemoTable(big, QStringList(30000, "b"));
    QProcess program;
    StartProgram(program,
                 QStringList{"send", "--bulk", "--jobs", "3", "--overwrite"} +
                     Login(QString(), server.Sid()),
                 ProgramEnvironment(config.path(), "tiger"));
    ASSERT_TRUE(program.waitForStarted());
    const auto running = [&] {
        const QList<QStringList> tables = server.Query(
            "SELECT table_name FROM user_tables WHERE table_name NOT LIKE 'QUORVEX$%'");
        return tables.size() == 5 && server.RowCount("A1") == 10 && server.RowCount("A2") == 10;
    };
    // waitForFinished, not a sleep: it also reads the program's end, which QProcess learns only
    // while events run.
    QElapsedTimer waited;
    waited.start();
    while (!running()) {
        if (program.waitForFinished(20) || waited.hasExpired(300000)) {
            program.kill();
            program.waitForFinished();
            FAIL() << "the program ended, or never got its tables going: "
                   << program.readAllStandardError().data();
        }
    }

    server.Stop();

    ASSERT_TRUE(program.waitForFinished(300000));  // every job ends
    EXPECT_EQ(program.exitCode(), 1);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_EQ(err.count(QRegularExpression("^quorvex send: BIG[123]: ",
                                           QRegularExpression::MultilineOption)),
              3)
        << err.toStdString();
    EXPECT_EQ(err.count("quorvex send: "), 3) << err.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression("\nA1 +10 +10 +0\nA2 +10 +10 +0\n")))
        << out.toStdString();
    EXPECT_EQ(out.count(QRegularExpression("\nBIG[123] +30000 +0 +0 +\\(not committed: ")), 3)
        << out.toStdString();
    EXPECT_TRUE(out.endsWith("2 of 5 tables arrived whole; 20 of 90020 rows sent arrived.\n"));
}

TEST_F(BulkCommandLine, VerifyCatchesAChangedValueAMissingRowAndAnExtraRowAndChangesNothing) {
    std::vector<std::vector<px::Value>> rows;
    for (int id = 1; id <= 6; ++id) {
        rows.push_back({px::Value::Integer(id), px::Value::Text("name " + std::to_string(id))});
    }
    WriteTable("CHECKED", {{"Id", px::FieldType::Long, 0}, {"Name", px::FieldType::Alpha, 20}},
               rows);
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub"));
    WriteMemoTable("sub/DEEP", {"x"});
    ASSERT_EQ(Run(QStringList{"send", "--bulk", "--overwrite", "CHECKED"} + Login()).exitStatus, 0);
    const ProgramRun same = Run(QStringList{"verify"} + Login());
    EXPECT_EQ(same.exitStatus, 0) << same.out.toStdString();  // the subfolder's table not counted
    EXPECT_TRUE(same.out.contains("(in a subfolder, not verified; verify it with --folder " +
                                  QDir(folder.filePath("sub")).absolutePath()))
        << same.out.toStdString();

    ServerExecute("UPDATE \"CHECKED\" SET \"Name\" = 'renamed' WHERE \"Id\" = 2");
    ServerExecute("DELETE FROM \"CHECKED\" WHERE \"Id\" = 4");
    ServerExecute("INSERT INTO \"CHECKED\" VALUES(9, 'extra')");
    const QString report = config.filePath("verify.json");
    const StatementLog log;
    const ProgramRun run = Run(QStringList{"verify", "checked", "--report", report} + Login());

    EXPECT_EQ(run.exitStatus, 1);
    for (const QString& statement : log.Since()) {
        EXPECT_TRUE(statement.startsWith("SELECT") || statement.startsWith("ALTER SESSION"))
            << statement.toStdString();
    }
    EXPECT_EQ(Count("CHECKED"), 6);
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nCHECKED +6 +6 +2 +2 +differs\n")))
        << run.out.toStdString();
    const QJsonObject checked = ReadJson(report)["tables"][0].toObject();
    EXPECT_EQ(OnlyInParadoxRows(ReadJson(report)), (std::set<int>{2, 4}));
    std::set<QString> extra;
    for (const QJsonValue& row : checked["onlyInOracleRows"].toArray()) {
        extra.insert(row["values"]["Id"].toString() + ' ' + row["values"]["Name"].toString());
    }
    EXPECT_EQ(extra, (std::set<QString>{"2 renamed", "9 extra"}));
    EXPECT_EQ(Run(QStringList{"verify", "NOPE"} + Login()).exitStatus, 2);
}

// The corpus sent row by row and then in bulk: verify finds the same of every table both times,
// and misses only the rows the server refused.
class CorpusBothWaysFromTheCommandLine : public BulkCommandLine,
                                         public ::testing::WithParamInterface<const char*> {
  protected:
    QJsonObject SendAndVerify(const QString& corpus, const QString& name, bool bulk) {
        const QString sent = config.filePath(name + "-send.json");
        Run(QStringList{"send", "--overwrite", "--report", sent} +
            (bulk ? QStringList{"--bulk"} : QStringList{}) + Login(corpus));
        QJsonObject refused;
        for (const QJsonValue& table : ReadJson(sent)["tables"].toArray()) {
            refused[table["table"].toString()] = table["refused"];
        }
        const QString verified = config.filePath(name + "-verify.json");
        Run(QStringList{"verify", "--report", verified} + Login(corpus));
        QJsonObject result = ReadJson(verified);
        result["refused"] = refused;
        return result;
    }
};

TEST_P(CorpusBothWaysFromTheCommandLine, VerifyFindsTheSameRowsEitherWay) {
    const QString corpus = QStringLiteral(QUORVEX_CORPUS_DIR "/") + GetParam();
    const QJsonObject rowByRow = SendAndVerify(corpus, "rows", false);
    DropAllTables();
    const QJsonObject bulk = SendAndVerify(corpus, "bulk", true);

    const QJsonArray tables = bulk["tables"].toArray();
    ASSERT_EQ(tables.size(), rowByRow["tables"].toArray().size());
    ASSERT_FALSE(tables.isEmpty());
    for (qsizetype i = 0; i < tables.size(); ++i) {
        const QJsonObject table = tables[i].toObject();
        const QJsonObject before = rowByRow["tables"][i].toObject();
        SCOPED_TRACE(table["table"].toString().toStdString());
        for (const char* key : {"table", "result", "paradoxRows", "oracleRows", "onlyInParadox",
                                "onlyInOracle", "onlyInParadoxRows"}) {
            EXPECT_EQ(table[key], before[key]) << key;
        }
        if (table["result"] == "same" || table["result"] == "differs") {
            EXPECT_EQ(table["onlyInOracle"], 0);
            EXPECT_EQ(table["onlyInParadox"], bulk["refused"][table["table"].toString()]);
        }
    }
}

// The corpus sent --native, row by row and in bulk: every table verifies the same exactly,
// keyed tables with their key and indexes (verify --native checks them), and a planted change of
// one millisecond shows.
TEST_P(CorpusBothWaysFromTheCommandLine, NativeTablesVerifyTheSameExactlyWithTheirKeys) {
    const QString corpus = QStringLiteral(QUORVEX_CORPUS_DIR "/") + GetParam();
    for (const bool bulk : {false, true}) {
        SCOPED_TRACE(bulk ? "--bulk" : "row by row");
        const ProgramRun sent = Run(QStringList{"send", "--native", "--overwrite"} +
                                    (bulk ? QStringList{"--bulk"} : QStringList{}) + Login(corpus));
        EXPECT_EQ(sent.exitStatus, 0) << sent.err.toStdString();
        const QString report = config.filePath("native-verify.json");
        const ProgramRun verified =
            Run(QStringList{"verify", "--native", "--report", report} + Login(corpus));
        EXPECT_EQ(verified.exitStatus, 0) << verified.out.toStdString();
        for (const QJsonValue& table : ReadJson(report)["tables"].toArray()) {
            EXPECT_EQ(table["result"], "same") << table["table"].toString().toStdString();
        }
    }
    // Untouched, their keys made after the rows (which makes the key's columns NOT NULL): every
    // table is as its send left it.
    const ProgramRun resumed = Run(QStringList{"send", "--native", "--resume"} + Login(corpus));
    EXPECT_EQ(resumed.exitStatus, 0) << resumed.out.toStdString();
    EXPECT_FALSE(resumed.out.contains("changed since")) << resumed.out.toStdString();
    EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM \"QUORVEX$LEDGER_TABLES\" WHERE "
                          "\"COLUMN_FINGERPRINT\" IS NULL"),
              QList<QStringList>{{"0"}});  // recorded both ways
    if (QString(GetParam()) == "fields") {
        // The ledger's own tables have keys too.
        EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM user_constraints WHERE constraint_type = 'P' "
                              "AND table_name NOT LIKE 'QUORVEX$%'"),
                  QList<QStringList>{{"6"}});  // FMEMO, GRAPHIC, GRAPHIC240, LONG, MEMO, OLE
        ServerExecute(
            "UPDATE \"TIMESTAMP\" SET \"Timestamp\" = \"Timestamp\" + INTERVAL "
            "'0 00:00:00.001' DAY TO SECOND(3)");
        const ProgramRun changed =
            Run(QStringList{"verify", "--native", "TIMESTAMP"} + Login(corpus));
        EXPECT_TRUE(changed.out.contains("2020-02-01 01:00:01.001")) << changed.out.toStdString();
    }
}

// A keyed table of every field type, with the values whose exactness matters most, arrives
// --native row by row and in bulk and verifies the same; a planted change of one byte or of the
// 17th significant digit shows.
TEST_F(BulkCommandLine, EveryFieldTypeArrivesNativelyAndVerifiesExactly) {
    const auto day = [](int y, int m, int d) {
        return px::Value::Date({px::DayNumberFromCivil(y, m, d)});
    };
    const std::int64_t stamp =
        std::int64_t{px::DayNumberFromCivil(2028, 7, 19)} * px::kMillisecondsPerDay + 39233123;
    px::ByteVector picture(3000);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<std::uint8_t>(i % 251);
    WriteTable("EVERY",
               {{"Id", px::FieldType::AutoIncrement, 0},
                {"Name", px::FieldType::Alpha, 20},
                {"Memo", px::FieldType::Memo, 20},
                {"Notes", px::FieldType::FormattedMemo, 10},
                {"Picture", px::FieldType::Blob, 10},
                {"Photo", px::FieldType::Graphic, 10},
                {"Object", px::FieldType::Ole, 10},
                {"Tag", px::FieldType::Bytes, 4},
                {"Small", px::FieldType::Short, 0},
                {"Big", px::FieldType::Long, 0},
                {"Number", px::FieldType::Number, 0},
                {"Money", px::FieldType::Money, 0},
                {"Exact", px::FieldType::Bcd, 18},
                {"Paid", px::FieldType::Logical, 0},
                {"Day", px::FieldType::Date, 0},
                {"At", px::FieldType::Time, 0},
                {"Stamp", px::FieldType::Timestamp, 0}},
               {{px::Value::Integer(1), px::Value::Text("O'Brien"),
                 px::Value::Text(std::string(100000, 'm')), px::Value::Raw(picture),
                 px::Value::Raw(picture), px::Value::Raw(picture), px::Value::Raw({1, 2, 3}),
                 px::Value::Raw({0x00, 0xFF, 0x1B, 0x80}), px::Value::Integer(-32767),
                 px::Value::Integer(-2147483647), px::Value::Number(103945.00000000003),
                 px::Value::Number(0.16999999999999998), px::Value::Dec({"0.122999999999999998"}),
                 px::Value::Logical(true), day(1920, 9, 8), px::Value::Time({72557928}),
                 px::Value::Stamp({stamp})},
                {px::Value::Integer(2), px::Value(), px::Value(), px::Value(), px::Value(),
                 px::Value(), px::Value(), px::Value(), px::Value::Integer(0), px::Value(),
                 px::Value::Number(-std::numeric_limits<double>::infinity()),
                 px::Value::Number(4.9e-324), px::Value::Dec({"-7"}), px::Value::Logical(false),
                 day(1, 1, 1), px::Value::Time({0}), px::Value()}});
    QFile file(folder.filePath("EVERY.DB"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes[0x04] = 0;  // keyed, on its first field
    bytes[0x23] = 1;
    file.seek(0);
    file.write(bytes);
    file.close();

    for (const bool bulk : {false, true}) {
        SCOPED_TRACE(bulk ? "--bulk" : "row by row");
        const ProgramRun sent = Run(QStringList{"send", "--native", "--overwrite"} +
                                    (bulk ? QStringList{"--bulk"} : QStringList{}) + Login());
        EXPECT_EQ(sent.exitStatus, 0) << sent.err.toStdString();
        const ProgramRun verified = Run(QStringList{"verify", "--native"} + Login());
        EXPECT_EQ(verified.exitStatus, 0) << verified.out.toStdString();
    }
    ServerExecute(
        "UPDATE \"EVERY\" SET \"Tag\" = '\\x00ff1b81'::bytea, \"Number\" = "
        "103945.00000000004 WHERE \"Id\" = 1");
    const ProgramRun changed = Run(QStringList{"verify", "--native"} + Login());
    EXPECT_EQ(changed.exitStatus, 1);
    EXPECT_TRUE(changed.out.contains("00FF1B81") && changed.out.contains("10394500000000004E-11"))
        << changed.out.toStdString();
}

TEST_F(BulkCommandLine, ARepeatedKeyIsReportedWithItsValuesAndEveryRowArrives) {
    WriteTable("DUPS", {{"Id", px::FieldType::Long, 0}, {"Name", px::FieldType::Alpha, 20}},
               {{px::Value::Integer(1), px::Value::Text("one")},
                {px::Value::Integer(7), px::Value::Text("seven")},
                {px::Value::Integer(7), px::Value::Text("another seven")}});
    // Made keyed by hand: file type 0 and one key field, as a damaged keyed table would be.
    QFile file(folder.filePath("DUPS.DB"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes[0x04] = 0;
    bytes[0x23] = 1;
    file.seek(0);
    file.write(bytes);
    file.close();

    // Sent first with the window's types: kept as it is, it is no native table.
    ASSERT_EQ(Run(QStringList{"send", "--bulk", "--overwrite"} + Login()).exitStatus, 0);
    const ProgramRun kept = Run(QStringList{"send", "--native", "--keep"} + Login());
    EXPECT_EQ(kept.exitStatus, 1);
    EXPECT_TRUE(
        kept.out.contains("kept incomplete: it is not a native table: its column \"Id\" is "
                          "NUMBER, not the native NUMBER(10)"))
        << kept.out.toStdString();
    const ProgramRun sent = Run(QStringList{"send", "--native", "--bulk", "--resume"} + Login());
    EXPECT_EQ(sent.exitStatus, 1);
    EXPECT_TRUE(sent.err.contains("repeated or missing: Id 7 in 2 rows")) << sent.err.toStdString();
    EXPECT_EQ(Count("DUPS"), 3);
    const ProgramRun verified = Run(QStringList{"verify", "--native"} + Login());
    EXPECT_EQ(verified.exitStatus, 1);
    EXPECT_TRUE(verified.out.contains("DUPS: the primary key (\"Id\") is missing"))
        << verified.out.toStdString();
}

TEST_F(BulkCommandLine, DamagedIndexAndMissingMemoFilesAreReportedAndTheRowsCounted) {
    const QDir corpus(QStringLiteral(QUORVEX_CORPUS_DIR "/db"));
    for (const char* suffix : {"DB", "MB", "PX", "X06", "Y06"}) {
        const QString name = QStringLiteral("CUSTOMER.") + QLatin1String(suffix);
        ASSERT_TRUE(QFile::copy(corpus.filePath(name), folder.filePath(name))) << suffix;
    }
    QFile index(folder.filePath("CUSTOMER.X06"));
    ASSERT_TRUE(index.open(QIODevice::ReadWrite));
    ASSERT_TRUE(index.resize(40));  // cut inside its header
    index.close();

    const ProgramRun sent = Run(QStringList{"send", "--native", "--bulk", "--overwrite"} + Login());
    EXPECT_EQ(sent.exitStatus, 1);
    EXPECT_TRUE(sent.err.contains("An index of table CUSTOMER was not made"))
        << sent.err.toStdString();
    EXPECT_GT(Count("CUSTOMER"), 0);
    const ProgramRun verified = Run(QStringList{"verify", "--native"} + Login());
    EXPECT_EQ(verified.exitStatus, 1);
    EXPECT_TRUE(
        verified.out.contains("an index file could not be read, so its index is not checked"))
        << verified.out.toStdString();

    // Without the memo file the row copy stores the 4 rows whose memos it cannot read with NULL
    // there, as the window does, and counts them as not arrived whole, as --bulk refuses them.
    ASSERT_TRUE(QFile::remove(folder.filePath("CUSTOMER.MB")));
    const ProgramRun rowByRow = Run(QStringList{"send", "--overwrite"} + Login());
    EXPECT_EQ(rowByRow.exitStatus, 1);
    EXPECT_TRUE(rowByRow.out.contains("16 of 20 rows sent arrived")) << rowByRow.out.toStdString();
    EXPECT_TRUE(rowByRow.out.contains("The value of the field Comments could not be read"))
        << rowByRow.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Folders, CorpusBothWaysFromTheCommandLine,
                         ::testing::Values("fields", "db", "encrypt"));

}  // namespace
}  // namespace quorvex::test
