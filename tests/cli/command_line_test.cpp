// `quorvex send` and `quorvex list` through the real program, as a script or a user in a terminal
// runs them, against the test server.

#include "command_line_fixture.h"
#include "data/oracle/odbc_session.h"
#include "support/immutable_flag.h"
#include "support/silent_server.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <limits>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

const QString kCorpus = QStringLiteral(QUORVEX_CORPUS_DIR);
const QString kReportedAtLine = QStringLiteral("Form2.PushButton4_Click at line ");

// The row count the corpus gives for a table of its "db" folder.
int ExpectedRows(const QString& table) {
    const QDir expected(kCorpus + "/expected/db");
    for (const QString& name : expected.entryList({"*.json"}, QDir::Files)) {
        QFile file(expected.filePath(name));
        if (name.section(u'.', 0, 0).toUpper() == table && file.open(QIODevice::ReadOnly)) {
            return QJsonDocument::fromJson(file.readAll()).object().value("row_count").toInt();
        }
    }
    return -1;
}

TEST_F(CommandLine, SendsTheCorpusWithOverwriteAndItsSummaryAgreesWithTheServer) {
    const QString corpus = kCorpus + "/db";
    ASSERT_TRUE(QDir(corpus).exists()) << "The Paradox corpus is missing: " << corpus.toStdString();
    ServerExecute("CREATE TABLE \"CUSTOMER\"(\"Old\" INT)");  // answered by --overwrite
    const QString report = config.filePath("report.json");

    const ProgramRun run =
        Run(QStringList{"send", "--overwrite", "--report", report} + Login(corpus));

    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << run.err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonArray tables = summary.value("tables").toArray();
    EXPECT_EQ(tables.size(), QDir(corpus).entryList({"*.db"}, QDir::Files).size());
    int refused = 0;
    for (const QJsonValue& value : tables) {
        const QJsonObject table = value.toObject();
        const QString name = table.value("table").toString();
        SCOPED_TRACE(name.toStdString());
        // The counts against the server and the table itself.
        EXPECT_EQ(table.value("arrived").toInt(), Count(name));
        EXPECT_EQ(table.value("paradoxRows").toInt(), ExpectedRows(name));
        EXPECT_EQ(table.value("arrived").toInt() + table.value("refused").toInt(),
                  table.value("paradoxRows").toInt());
        EXPECT_EQ(table.value("outcome").toString(),
                  table.value("refused").toInt() == 0 ? "sent" : "incomplete");
        EXPECT_EQ(table.value("firstRefusal").isString(), table.value("refused").toInt() > 0);
        EXPECT_TRUE(run.out.contains(
            QRegularExpression("\n" + QRegularExpression::escape(name) + " +" +
                               QString::number(table.value("paradoxRows").toInt()) + " +" +
                               QString::number(table.value("arrived").toInt()) + " ")))
            << run.out.toStdString();
        refused += table.value("refused").toInt();
    }
    // One report per refused row, in the text of the box; the status says whether all arrived.
    EXPECT_EQ(run.err.count(kReportedAtLine + "244"), refused) << run.err.toStdString();
    EXPECT_EQ(run.exitStatus, refused == 0 ? 0 : 1);
    EXPECT_EQ(summary.value("exitStatus").toInt(), run.exitStatus);
}

TEST_F(CommandLine, KeepLeavesAnExistingTableAloneAndAWrongNameOrPathChangesNothing) {
    WriteMemoTable("KEPT", {"new"});
    WriteMemoTable("FRESH", {"a", "b"});
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub"));
    WriteMemoTable("sub/DEEP", {"x"});
    ServerExecute("CREATE TABLE \"KEPT\"(\"Note\" VARCHAR(20))");
    ServerExecute("INSERT INTO \"KEPT\" VALUES('precious')");

    // Each checked before anything is sent: one line, status 2, nothing on the server.
    const QStringList wrong[] = {
        {"send", "--keep", "kept", "NOPE", "fresh"},
        {"send", "--keep", "fresh", "deep"},
        {"send", "--keep", "--report", config.path()},
        {"send", "--keep", "--rejects", folder.filePath("none/r.jsonl")},
        {"send", "--keep", "--bogus"},
    };
    for (const QStringList& arguments : wrong) {
        const ProgramRun run = Run(arguments + Login());
        EXPECT_EQ(run.exitStatus, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
    EXPECT_EQ(Tables(), QStringList{"KEPT"});
    const ProgramRun deep = Run(QStringList{"send", "--keep", "deep"} + Login());
    EXPECT_TRUE(deep.err.contains("sub/DEEP is in a subfolder, not sent; send it with --folder " +
                                  QDir(folder.filePath("sub")).absolutePath()))
        << deep.err.toStdString();

    const ProgramRun run = Run(QStringList{"send", "--keep", "kept", "fresh", "FRESH"} + Login());

    EXPECT_EQ(run.exitStatus, 0) << run.err.toStdString();
    EXPECT_EQ(ServerQuery("SELECT \"Note\" FROM \"KEPT\""), (QList<QStringList>{{"precious"}}));
    EXPECT_EQ(Count("FRESH"), 2);
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nKEPT +1 +1 +- +\\(kept\\)\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nFRESH +2 +2 +0\n")));
}

TEST_F(CommandLine, ARefusedRowCountsInTheSummaryAndTheExitStatus) {
    // 2001 characters do not fit the memo's NVARCHAR2(2000) column.
    WriteMemoTable("MEMO", {"short", QString(2001, u'x'), "x"});

    // Without a terminal the overwrite question cannot be asked: nothing starts.
    const ProgramRun unanswered = Run(QStringList{"send"} + Login());
    EXPECT_EQ(unanswered.exitStatus, 2);
    EXPECT_TRUE(unanswered.err.contains("give --overwrite, --keep or --resume"))
        << unanswered.err.toStdString();
    EXPECT_TRUE(ServerQuery("SELECT table_name FROM user_tables").isEmpty());

    // An infinite number goes as NULL, reported and counted as refused.
    WriteTable(
        "NUM", {{"Id", px::FieldType::Short, 0}, {"N", px::FieldType::Number, 0}},
        {{px::Value::Integer(1), px::Value::Number(2.5)},
         {px::Value::Integer(2), px::Value::Number(std::numeric_limits<double>::infinity())}});
    const QString rejects = config.filePath("rejects.jsonl");

    const ProgramRun run = Run(QStringList{"send", "--overwrite", "--rejects", rejects} + Login());

    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(Count("MEMO"), 2);
    EXPECT_EQ(Count("NUM"), 2);
    EXPECT_TRUE(
        run.out.contains(QRegularExpression("\nNUM +2 +1 +1 +Row 2 of table NUM holds a "
                                            "number Oracle cannot store: N \\(infinity\\)")))
        << run.out.toStdString();
    EXPECT_EQ(run.err.count(kReportedAtLine + "226"), 1);
    // The rejects file holds exactly the refused rows, as sent, with the reason.
    QFile file(rejects);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QJsonObject> lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty()) {
            lines.append(QJsonDocument::fromJson(line).object());
        }
    }
    ASSERT_EQ(lines.size(), 2);
    std::sort(lines.begin(), lines.end(), [](const QJsonObject& a, const QJsonObject& b) {
        return a.value("table").toString() < b.value("table").toString();
    });
    EXPECT_EQ(lines[0].value("table").toString(), "MEMO");
    EXPECT_EQ(lines[0].value("row").toInt(), 2);
    EXPECT_EQ(lines[0].value("values").toObject(),
              (QJsonObject{{"Id", "2"}, {"Memo", QString(2001, u'x')}}));
    EXPECT_FALSE(lines[0].value("stored").toBool());
    EXPECT_TRUE(lines[0].value("message").toString().contains("value too long"));
    EXPECT_EQ(lines[1].value("table").toString(), "NUM");
    EXPECT_EQ(lines[1].value("values").toObject(), (QJsonObject{{"Id", "2"}, {"N", QJsonValue()}}));
    EXPECT_TRUE(lines[1].value("stored").toBool());
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nMEMO +3 +2 +1 +ERROR: .*value too long")))
        << run.out.toStdString();
    // The box's text, its line breaks as the box shows them, once.
    EXPECT_EQ(run.err.count(kReportedAtLine + "244"), 1);
    EXPECT_TRUE(run.err.contains("\nin Quorvex2/19/2015." + kReportedAtLine +
                                 "244\n\nPlease email screenshot of this message to "))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("MEMO: 2 of 3 rows arrived, 1 refused")) << run.err.toStdString();
}

TEST_F(CommandLine, SubfolderTablesAreNamedNotSentAndEachTableGoesOnce) {
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub"));
    WriteMemoTable("T", {"1", "2", "3"});
    WriteMemoTable("sub/T", {"a", "b"});
    WriteMemoTable("sub/ONLY", {"a"});
    WriteMemoTable("CJK", {"x"});  // its header's name is code-page text: the file is renamed
    ASSERT_TRUE(
        QFile::rename(folder.filePath("CJK.DB"), folder.filePath(QString::fromUtf8("顧客.DB"))));

    const ProgramRun run = Run(QStringList{"send", "--overwrite"} + Login());

    EXPECT_EQ(run.exitStatus, 0) << run.err.toStdString();
    EXPECT_EQ(Count("T"), 3);
    EXPECT_EQ(Tables().size(), 2);
    EXPECT_TRUE(run.out.contains("\nsub/ONLY  ")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("(in a subfolder, not sent; send it with --folder " +
                                 QDir(folder.filePath("sub")).absolutePath() + ")\n"));
    // Columns line up by the terminal's columns: a CJK character takes two.
    EXPECT_TRUE(run.out.contains(QString::fromUtf8("\n顧客") + QString(17, u' ') + "1  "))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith("2 of 2 tables arrived whole; 4 of 4 rows sent arrived.\n"));
}

TEST_F(CommandLine, ATableInTwoSpellingsIsChosenByItsFileNameAndSentFromThatFile) {
    for (const auto& [name, count] : {std::pair{"T", 53}, std::pair{"L", 300}}) {
        WriteTable(name, {{"Id", px::FieldType::Short, 0}},
                   std::vector<std::vector<px::Value>>(count, {px::Value::Integer(1)}));
    }
    ASSERT_TRUE(QFile::rename(folder.filePath("L.DB"), folder.filePath("T.db")));
    const QString upper = QDir(folder.path()).absoluteFilePath("T.DB");
    const QString lower = QDir(folder.path()).absoluteFilePath("T.db");
    const auto sourceFiles = [](const QByteArray& json, const QString& side) {
        QStringList files;
        for (const QJsonValue& table : QJsonDocument::fromJson(json).object()[side].toArray()) {
            files.append(table.toObject().value("sourceFile").toString());
        }
        files.sort();
        return files;
    };

    EXPECT_EQ(sourceFiles(Run(QStringList{"list", "--json"} + Login()).out.toUtf8(), "paradox"),
              (QStringList{upper, lower}));
    // By its name, or with every table, it is refused before anything changes.
    for (const QStringList& names : {QStringList{}, QStringList{"t"}}) {
        const ProgramRun refused = Run(QStringList{"send", "--overwrite"} + Login() + names);
        EXPECT_EQ(refused.exitStatus, 2);
        EXPECT_TRUE(refused.err.contains(upper + ", " + lower)) << refused.err.toStdString();
    }
    EXPECT_TRUE(Tables().isEmpty());

    const QString report = config.filePath("report.json");
    EXPECT_EQ(
        Run(QStringList{"send", "--overwrite", "--report", report, "T.db"} + Login()).exitStatus,
        0);
    EXPECT_EQ(Count("T"), 300);
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(sourceFiles(file.readAll(), "tables"), QStringList{lower});
    EXPECT_EQ(Run(QStringList{"send", "--bulk", "--overwrite", "T.DB"} + Login()).exitStatus, 0);
    EXPECT_EQ(Count("T"), 53);
}

TEST_F(CommandLine, SigtermStopsASendWithItsSummaryAndReportAndResumeFinishesIt) {
    WriteMemoTable("BIG", QStringList(20000, "row"));
    WriteMemoTable("SMALL", {"a", "b"});  // sent first: the walk goes from the last table
    const QString report = config.filePath("report.json");
    QProcess program;
    StartProgram(program, QStringList{"send", "--overwrite", "--report", report} + Login(),
                 ProgramEnvironment(config.path(), "tiger"));
    ASSERT_TRUE(program.waitForStarted());
    while (Tables().size() < 2 || Count("BIG") == 0) {
        ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().data();
        QThread::msleep(20);
    }

    program.terminate();  // SIGTERM, as `timeout` and service managers send it

    ASSERT_TRUE(program.waitForFinished(300000));
    EXPECT_EQ(program.exitCode(), 143);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QRegularExpressionMatch summary =
        QRegularExpression("\nBIG +20000 +(\\d+) +0 +\\(incomplete\\)").match(out);
    ASSERT_TRUE(summary.hasMatch()) << out.toStdString();
    EXPECT_EQ(Count("BIG"), summary.captured(1).toInt());
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(json.value("signal").toString(), "SIGTERM");
    EXPECT_EQ(json.value("exitStatus").toInt(), 143);
    EXPECT_EQ(json.value("user").toString(), "scott");
    EXPECT_FALSE(json.contains("password"));
    const QJsonObject big = json.value("tables").toArray().at(0).toObject();
    EXPECT_EQ(big.value("sourceFile").toString(), QDir(folder.path()).absoluteFilePath("BIG.DB"));
    EXPECT_EQ(big.value("arrived").toInt(), summary.captured(1).toInt());
    EXPECT_TRUE(big.value("seconds").isDouble());

    // --keep names the half table with both counts and fails; --resume sends it again, alone.
    // (The ledger as the version before left it, without its fingerprints of columns: brought up
    // to date.)
    ServerExecute("ALTER TABLE \"QUORVEX$LEDGER_TABLES\" DROP COLUMN \"COLUMN_FINGERPRINT\"");
    const ProgramRun kept = Run(QStringList{"send", "--keep"} + Login());
    EXPECT_EQ(kept.exitStatus, 1);
    EXPECT_TRUE(kept.out.contains(
        QString("(kept incomplete: %1 of 20000 rows in Oracle; its send in run 1 did not finish)")
            .arg(summary.captured(1))))
        << kept.out.toStdString();
    const StatementLog log;
    const ProgramRun resumed = Run(QStringList{"send", "--resume"} + Login());
    EXPECT_EQ(resumed.exitStatus, 0) << resumed.out.toStdString();
    EXPECT_EQ(Count("BIG"), 20000);
    EXPECT_FALSE(log.Since().join('\n').contains("\"SMALL\"("));
    EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM \"QUORVEX$LEDGER_TABLES\" WHERE "
                          "\"COLUMN_FINGERPRINT\" IS NOT NULL"),
              QList<QStringList>{{"1"}});  // BIG's, sent again
}

TEST_F(CommandLine, AFileCutOrAReportFolderLockedWhileASendRunsIsToldWithItsReason) {
    WriteMemoTable("BIG", QStringList(20000, "row"));
    const QString report = config.filePath("report.json");
    QProcess cut;
    StartSendUntilRowsArrive(cut, {"send", "--overwrite", "--report", report}, "BIG");
    ASSERT_TRUE(QFile::resize(folder.filePath("BIG.DB"), 2 * 2048));  // its header, one block

    // Row by row as in bulk, the reader's reason is the table's note.
    ASSERT_TRUE(cut.waitForFinished(300000));
    EXPECT_EQ(cut.exitCode(), 1);
    const QString out = QString::fromUtf8(cut.readAllStandardOutput());
    const QRegularExpressionMatch line =
        QRegularExpression("\nBIG +20000 +\\d+ +0 +\\(incomplete: (.*BIG\\.DB.*)\\)\n").match(out);
    ASSERT_TRUE(line.hasMatch()) << out.toStdString();
    EXPECT_EQ(ReadJson(report)["tables"][0]["note"].toString(), line.captured(1));

    // A folder made read-only once the checks before the send let the report's path by.
    WriteMemoTable("BIG", QStringList(20000, "row"));
    ServerExecute("DROP TABLE \"BIG\"");  // its rows show that the send is under way
    QTemporaryDir reports;
    const QString late = reports.filePath("report.json");
    QProcess locked;
    StartSendUntilRowsArrive(locked, {"send", "--overwrite", "--report", late}, "BIG");
    const ReadOnlyFolder readOnly(reports.path());
    ASSERT_TRUE(locked.waitForFinished(300000));
    if (!readOnly.IsReadOnly()) {
        GTEST_SKIP() << "this system lets the folder be changed whatever its flags";
    }
    EXPECT_EQ(locked.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(locked.readAllStandardError())
                    .endsWith("quorvex send: the report could not be written to " + late + ": " +
                              readOnly.Reason() + "\n"));
    EXPECT_TRUE(QDir(reports.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(CommandLine, OneSendAtATimeAndTheLockOfARunKilledIsTakenOver) {
    WriteMemoTable("BIG", QStringList(20000, "row"));
    QProcess first;
    StartSendUntilRowsArrive(first, {"send", "--overwrite"}, "BIG");
    const QString firstRun = QString("run 1 on host %1, process %2, started ")
                                 .arg(QSysInfo::machineHostName())
                                 .arg(first.processId());

    // A second send refuses at once, naming the first, and changes nothing.
    const StatementLog log;
    const ProgramRun second = Run(QStringList{"send", "--resume"} + Login());
    EXPECT_EQ(second.exitStatus, 2) << second.err.toStdString();
    EXPECT_TRUE(second.err.contains("another send is running into this schema: " + firstRun))
        << second.err.toStdString();
    // (The first goes on inserting its rows.)
    EXPECT_TRUE(
        log.Since().filter(QRegularExpression("^(CREATE|DROP|UPDATE|INSERT INTO \"Q)")).isEmpty());

    first.kill();  // kill -9: its session ends on the server, and the lock with it
    ASSERT_TRUE(first.waitForFinished(300000));
    QDeadlineTimer deadline(300000);
    while (ServerQuery("SELECT COUNT(*) FROM pg_stat_activity WHERE state LIKE 'idle in%'")
               .value(0)
               .value(0) != "0") {
        ASSERT_FALSE(deadline.hasExpired());
        QThread::msleep(20);
    }
    const ProgramRun resumed = Run(QStringList{"send", "--resume"} + Login());
    EXPECT_EQ(resumed.exitStatus, 0) << resumed.err.toStdString();
    EXPECT_TRUE(resumed.err.contains("took over the lock of " + firstRun))
        << resumed.err.toStdString();
    EXPECT_EQ(Count("BIG"), 20000);
    EXPECT_EQ(ServerQuery("SELECT \"RUN_ID\", \"EXIT_STATUS\", \"NOTE\" FROM "
                          "\"QUORVEX$LEDGER_RUNS\" ORDER BY 1"),
              (QList<QStringList>{
                  {"1", QString(), "ended without closing; its lock was taken over by run 2"},
                  {"2", "0", QString()}}));
}

TEST_F(CommandLine, ResumeKeepsWhatTheLedgerSaysWasSentOrChangedByHandAndResendsAChangedFile) {
    const QString long1(2001, u'x'), long2(2001, u'y'), long3(2001, u'z');
    WriteMemoTable("MEMO", {"a", long1, long2, long3, "b"});
    WriteMemoTable("SAME", {"a"});
    EXPECT_EQ(Run(QStringList{"send", "--overwrite"} + Login()).exitStatus, 1);

    // Its refused rows are no reason to send it again.
    const StatementLog log;
    const ProgramRun asSent = Run(QStringList{"send", "--resume"} + Login());
    EXPECT_TRUE(
        asSent.out.contains("(kept incomplete: 2 of 5 rows in Oracle; as its send in run "
                            "1 left it, 3 rows refused then)"))
        << asSent.out.toStdString();
    EXPECT_TRUE(log.Since().filter(QRegularExpression("^(DROP|CREATE) TABLE \"[MS]")).isEmpty());

    // A column widened, no row changed: kept and named, never dropped; then two of the refused
    // rows loaded by hand.
    ServerExecute("ALTER TABLE \"MEMO\" ALTER COLUMN \"Memo\" TYPE text");
    const ProgramRun widened = Run(QStringList{"send", "--resume"} + Login());
    EXPECT_EQ(widened.exitStatus, 1);
    EXPECT_TRUE(
        widened.out.contains("(kept incomplete: 2 of 5 rows in Oracle; changed since its "
                             "send in run 1: its columns were altered)"))
        << widened.out.toStdString();
    EXPECT_TRUE(log.Since().filter(QRegularExpression("^(DROP|CREATE) TABLE \"[MS]")).isEmpty());
    ServerExecute(QString("INSERT INTO \"MEMO\" VALUES(2, '%1'), (3, '%2')").arg(long1, long2));
    const ProgramRun byHand = Run(QStringList{"send", "--resume"} + Login());
    EXPECT_TRUE(
        byHand.out.contains("(kept incomplete: 4 of 5 rows in Oracle; changed since its send in "
                            "run 1: 4 rows in Oracle where 2 arrived, and its columns were "
                            "altered)"))
        << byHand.out.toStdString();
    EXPECT_EQ(Count("MEMO"), 4);

    // A Paradox file changed since its send is sent again, and said so.
    WriteMemoTable("SAME", {"a", "b"});
    QFile same(folder.filePath("SAME.DB"));
    ASSERT_TRUE(same.open(QIODevice::ReadWrite));
    ASSERT_TRUE(same.setFileTime(QDateTime::currentDateTime().addSecs(10),
                                 QFileDevice::FileModificationTime));
    same.close();
    const ProgramRun changed = Run(QStringList{"send", "--resume"} + Login());
    EXPECT_TRUE(
        changed.err.contains("quorvex send: SAME: its Paradox file changed since its send "
                             "in run 1; --resume sends it again."))
        << changed.err.toStdString();
    EXPECT_EQ(Count("SAME"), 2);
    EXPECT_EQ(Count("MEMO"), 4);
}

TEST_F(CommandLine, AFullDiskIsToldWithTheSystemsReasonAndLeavesNoFileHalfWritten) {
    WriteMemoTable("MEMO", {"a", QString(2001, u'x'), QString(2001, u'y'), "b"});
    QTemporaryDir out;
    const QString rejects = out.filePath("rejects.jsonl");

    // One refused row's line fits, the second does not: the send stops there.
    const ProgramRun stopped =
        RunProgram(QStringList{"send", "--overwrite", "--rejects", rejects} + Login(),
                   ProgramEnvironment(config.path(), "tiger"), 3000);
    EXPECT_EQ(stopped.exitStatus, 1);
    EXPECT_TRUE(stopped.err.endsWith("quorvex send: refused rows could not be written to " +
                                     rejects + ": File too large; the send stopped there\n"))
        << stopped.err.toStdString();
    EXPECT_EQ(Count("MEMO"), 1);
    QFile file(rejects);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray lines = file.readAll();
    EXPECT_EQ(lines.count('\n'), 1);
    EXPECT_TRUE(lines.endsWith("}\n"));

    // A report that does not fit leaves the one before it as it was, and nothing beside it.
    const QString report = out.filePath("report.json");
    QFile old(report);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    const ProgramRun unreported =
        RunProgram(QStringList{"send", "--keep", "--report", report} + Login(),
                   ProgramEnvironment(config.path(), "tiger"), 100);
    EXPECT_EQ(unreported.exitStatus, 1);
    EXPECT_TRUE(unreported.err.endsWith("quorvex send: the report could not be written to " +
                                        report + ": File too large\n"))
        << unreported.err.toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files),
              (QStringList{"rejects.jsonl", "report.json"}));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

TEST_F(CommandLine, ADryRunReadsEverythingAndChangesNothing) {
    const DeclaredCharacterSet windows(QStringLiteral("WE8MSWIN1252"), QStringLiteral("UTF8"));
    WriteMemoTable("NIHON", {"a"});  // the writer keeps names in CP1252: the file is renamed
    ASSERT_TRUE(QDir(folder.path()).rename("NIHON.DB", "日本.DB"));
    WriteMemoTable("MEMO", {"short", QString(2001, u'x'), QString(2001, u'y')});
    WriteMemoTable("EUROS", {QString(1333, u'€'), QString(1334, u'€')});  // 4,002 bytes in UTF8
    WriteMemoTable("OLD", {"a"});
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub"));
    WriteMemoTable("sub/DEEP", {"x"});
    ServerExecute("CREATE TABLE \"OLD\"(\"X\" INT)");
    const QString report = config.filePath("dry.json");
    const StatementLog log;

    const ProgramRun run =
        Run(QStringList{"send", "--dry-run", "--overwrite", "--report", report} + Login());

    EXPECT_EQ(run.exitStatus, 1) << run.err.toStdString();
    for (const QString& statement : log.Since()) {
        EXPECT_TRUE(statement.startsWith("SELECT")) << statement.toStdString();
    }
    EXPECT_EQ(Tables(), QStringList{"OLD"});
    EXPECT_TRUE(run.out.contains(QRegularExpression(
        "\nMEMO +3 +2 +create: texts over 2,000 characters for NVARCHAR2\\(2000\\), which send "
        "--native carries whole as NCLOB, in 2 rows "
        "\\(first: row 2, field Memo\\)\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(
        "\nEUROS +2 +1 +create: texts over 4,000 bytes in the national character set UTF8")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nOLD +1 +0 +drop and send again\n")));
    EXPECT_TRUE(run.out.contains(QRegularExpression(
        "\nsub/DEEP +- +0 +leave it: in a subfolder, not sent; send it with --folder ")));
    const ProgramRun native = Run(QStringList{"send", "--dry-run", "--native", "MEMO"} + Login());
    EXPECT_TRUE(native.out.contains(QRegularExpression("\nMEMO +3 +0 +create\n")))
        << native.out.toStdString();
    // Names are checked against the server's own character set, as a send would.
    EXPECT_TRUE(run.out.contains(QRegularExpression("\n日本 +- +0 +create: .*WE8MSWIN1252")))
        << run.out.toStdString();
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QJsonDocument::fromJson(file.readAll()).object().value("dryRun").toBool());
}

// A listener that takes the connection and never answers: the command line gives up after the
// log-in limit, its own and not the driver's (which comes later), and ends with status 1 while the
// abandoned log-in still waits.
TEST_F(CommandLine, ListGivesUpOnASilentServerAfterTheLoginLimit) {
    const SilentServer silent;
    QProcess program;
    StartProgram(program, QStringList{"list", "--oracle"} + Login(QString(), silent.Sid()),
                 ProgramEnvironment(config.path(), "tiger"));
    const bool ended = program.waitForFinished((kLoginTimeoutSeconds + 90) * 1000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(ended) << "no end after the log-in limit";
    EXPECT_EQ(program.exitCode(), 1);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(err.contains(QString("did not answer within %1 seconds; the log-in was given up")
                                 .arg(kLoginTimeoutSeconds)))
        << err.toStdString();
}

TEST_F(CommandLine, ListsTheSidesAsTheTablesScreenDoes) {
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub"));
    WriteMemoTable("sub/beta", {});
    WriteMemoTable("Alpha", {});
    ServerExecute("CREATE TABLE \"zeta\"(\"X\" INT)");
    ServerExecute("CREATE TABLE \"Eta\"(\"X\" INT)");

    const ProgramRun both = Run(QStringList{"list"} + Login());
    EXPECT_EQ(both.exitStatus, 0) << both.err.toStdString();
    EXPECT_EQ(both.out, "Oracle Tables:\n  Eta\n  zeta\n\nParadox Tables:\n  ALPHA\n  BETA\n");

    // The Paradox side needs no server: no driver registry, no password.
    QStringList noServer = ProgramEnvironment(config.path(), QString());
    noServer.removeIf([](const QString& variable) { return variable.startsWith("ODBCSYSINI="); });
    const ProgramRun paradox =
        RunProgram({"list", "--paradox", "--folder", folder.path()}, noServer);
    EXPECT_EQ(paradox.exitStatus, 0) << paradox.err.toStdString();
    EXPECT_EQ(paradox.out, "ALPHA\nBETA\n");

    EXPECT_EQ(Run(QStringList{"list", "--oracle"} + Login()).out, "Eta\nzeta\n");
    const QJsonObject json =
        QJsonDocument::fromJson(Run(QStringList{"list", "--json"} + Login()).out.toUtf8()).object();
    EXPECT_EQ(json.value("oracle").toArray(), (QJsonArray{"Eta", "zeta"}));
    EXPECT_EQ(json.value("paradox").toArray().at(1).toObject(),
              (QJsonObject{{"table", "BETA"},
                           {"sourceFile", QDir(folder.path()).absoluteFilePath("sub/beta.DB")},
                           {"inSubfolder", true}}));
    EXPECT_EQ(Run({"list", "--oracle", "--paradox"}).exitStatus, 2);
    const ProgramRun unknown = Run({"list", "--bogus=1"});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_TRUE(unknown.err.startsWith("quorvex: Unknown option '--bogus'."))
        << unknown.err.toStdString();
    const ProgramRun missing = Run({"list", "--paradox", "--folder", folder.filePath("none")});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_TRUE(missing.err.contains("does not exist")) << missing.err.toStdString();
    const ProgramRun help = Run({"send", "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: quorvex send"));
    EXPECT_TRUE(Run({"--version"}).out.startsWith("quorvex 1."));
    // The window without a display: one line, status 1.
    const ProgramRun window = Run({});
    EXPECT_EQ(window.exitStatus, 1);
    EXPECT_EQ(window.err.count('\n'), 1) << window.err.toStdString();
}

TEST_F(CommandLine, QuorvexPasswordWinsOverTheSavedOneAndARefusedLoginSaysWhereItCameFrom) {
    QFile settings(config.filePath("Veltrane.conf"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Quorvex]\nPassword=wrong\n");
    settings.close();

    EXPECT_EQ(Run(QStringList{"list", "--oracle"} + Login()).exitStatus, 0);
    const ProgramRun refused = Run(QStringList{"list", "--oracle"} + Login(), "bad");
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_TRUE(refused.err.contains("password authentication failed"))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("the password came from QUORVEX_PASSWORD"));
    const ProgramRun saved = Run(QStringList{"list", "--oracle"} + Login(), QString());
    EXPECT_TRUE(saved.err.contains("the password is the one the window saved"))
        << saved.err.toStdString();
}

TEST_F(CommandLine, ThePasswordIsAskedOnTheTerminalAndNeverShownOrPassed) {
    WriteMemoTable("T", {"one"});
    ServerExecute("CREATE TABLE \"T\"(\"X\" INT)");
    ProgramOnTerminal program(QStringList{"send", "T"} + Login(),
                              ProgramEnvironment(config.path(), QString()));

    ASSERT_TRUE(program.WaitFor("Oracle password for scott: ")) << program.Shown().toStdString();
    EXPECT_FALSE(program.VisibleCommandLine().contains("tiger"));
    program.Type("tiger\n");
    ASSERT_TRUE(program.WaitFor("Would you like to overwrite T? [y/n] "))
        << program.Shown().toStdString();
    const QString arguments = program.VisibleCommandLine();
    EXPECT_TRUE(arguments.contains("send T")) << arguments.toStdString();
    EXPECT_FALSE(arguments.contains("tiger"));
    program.Type("y\n");

    EXPECT_EQ(program.Wait(), 0) << program.Shown().toStdString();
    EXPECT_FALSE(program.Shown().contains("tiger"));
    EXPECT_EQ(Count("T"), 1);
}

TEST_F(CommandLine, CtrlCStopsAfterTheRowBeingSentAndPrintsTheSummary) {
    WriteMemoTable("BIG", QStringList(20000, "row"));
    ProgramOnTerminal program(QStringList{"send", "--overwrite"} + Login(),
                              ProgramEnvironment(config.path(), "tiger"));
    ASSERT_TRUE(program.WaitFor(" rows/s, ")) << program.Shown().toStdString();  // rows flow

    program.Type("\x03");  // Ctrl+C on the terminal

    EXPECT_EQ(program.Wait(), 130) << program.Shown().toStdString();
    const QRegularExpressionMatch summary =
        QRegularExpression("\nBIG +20000 +(\\d+) +0 +\\(incomplete\\)").match(program.Shown());
    ASSERT_TRUE(summary.hasMatch()) << program.Shown().toStdString();
    // What the summary says arrived is on the server: no row lost or half sent.
    EXPECT_GT(summary.captured(1).toInt(), 0);
    EXPECT_LT(summary.captured(1).toInt(), 20000);
    EXPECT_EQ(Count("BIG"), summary.captured(1).toInt());
}

}  // namespace
}  // namespace quorvex::test
