// `quorvex send` and `quorvex list` through the real program, as a script or a user in a terminal
// runs them, against the test server.

#include "program_run.h"
#include "support/test_server.h"
#include "table_writer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

namespace px = quorvex::paradox;
namespace pw = quorvex::pxwriter;

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

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override { DropAllTables(); }

    // A table of an id and a memo, one row per text.
    void WriteMemoTable(const QString& name, const QStringList& memos) {
        pw::TableDesign design;
        design.fields = {{"Id", px::FieldType::Short, 0}, {"Memo", px::FieldType::Memo, 20}};
        std::vector<std::vector<px::Value>> rows;
        for (const QString& memo : memos) {
            rows.push_back({px::Value::Integer(static_cast<int>(rows.size()) + 1),
                            px::Value::Text(memo.toStdString())});
        }
        pw::WriteTable(QFile::encodeName(folder.filePath(name + ".DB")).toStdString(), design,
                       rows);
    }
    QStringList Login(const QString& paradoxFolder = QString()) const {
        return {"--folder", paradoxFolder.isEmpty() ? folder.path() : paradoxFolder,
                "--sid",    TestServerSid(),
                "--user",   "scott"};
    }
    ProgramRun Run(const QStringList& arguments, const QString& password = "tiger") const {
        return RunProgram(arguments, ProgramEnvironment(config.path(), password));
    }
    static int Count(const QString& table) {
        return ServerQuery(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table))
            .value(0)
            .value(0)
            .toInt();
    }

    QTemporaryDir folder;
    QTemporaryDir config;
};

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

TEST_F(CommandLine, KeepLeavesAnExistingTableAloneAndAnUnknownNameStopsNoOther) {
    WriteMemoTable("KEPT", {"new"});
    WriteMemoTable("FRESH", {"a", "b"});
    ServerExecute("CREATE TABLE \"KEPT\"(\"Note\" VARCHAR(20))");
    ServerExecute("INSERT INTO \"KEPT\" VALUES('precious')");

    const ProgramRun run = Run(QStringList{"send", "--keep", "kept", "NOPE", "fresh"} + Login());

    EXPECT_EQ(run.exitStatus, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("no Paradox table named NOPE")) << run.err.toStdString();
    EXPECT_EQ(ServerQuery("SELECT \"Note\" FROM \"KEPT\""), (QList<QStringList>{{"precious"}}));
    EXPECT_EQ(Count("FRESH"), 2);
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nKEPT +- +- +- +\\(kept\\)\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nNOPE +- +- +- +\\(not found\\)\n")));
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nFRESH +2 +2 +0\n")));
}

TEST_F(CommandLine, ARefusedRowCountsInTheSummaryAndTheExitStatus) {
    // 2001 characters do not fit the memo's NVARCHAR2(2000) column.
    WriteMemoTable("MEMO", {"short", QString(2001, u'x'), "x"});

    // Without a terminal the overwrite question cannot be asked: nothing starts.
    const ProgramRun unanswered = Run(QStringList{"send"} + Login());
    EXPECT_EQ(unanswered.exitStatus, 2);
    EXPECT_TRUE(unanswered.err.contains("--overwrite or --keep")) << unanswered.err.toStdString();
    EXPECT_TRUE(ServerQuery("SELECT table_name FROM user_tables").isEmpty());

    const ProgramRun run = Run(QStringList{"send", "--overwrite"} + Login());

    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(Count("MEMO"), 2);
    EXPECT_TRUE(run.out.contains(QRegularExpression("\nMEMO +3 +2 +1 +ERROR: .*value too long")))
        << run.out.toStdString();
    // The box's text, its line breaks as the box shows them, once.
    EXPECT_EQ(run.err.count(kReportedAtLine), 1);
    EXPECT_TRUE(run.err.contains("\nin Quorvex2/19/2015." + kReportedAtLine +
                                 "244\n\nPlease email screenshot of this message to "))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("MEMO: 2 of 3 rows arrived, 1 refused")) << run.err.toStdString();
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
    EXPECT_EQ(Run({"list", "--oracle", "--paradox"}).exitStatus, 2);
    EXPECT_EQ(Run({"send", "--bogus"}).exitStatus, 2);
    const ProgramRun help = Run({"send", "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: quorvex send"));
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
