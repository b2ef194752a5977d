// Failures during the transfer: each is reported once under the command's label with its line,
// the walk goes on, and nothing is sent that would put rows where they do not belong.

#include "transfer_fixture.h"

#include "shell/table_listing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace quorvex::test {
namespace {

class TransferFaults : public TransferTest {
  protected:
    void WriteSmall(const QString& fileName, const char* fieldName = "Name") {
        WriteTable(fileName, {Alpha(fieldName)}, {{Text("one")}, {Text("two")}});
    }
    void WriteBytes(const QString& fileName, const QByteArray& bytes) {
        QFile file(folder.filePath(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString ErrorText(std::size_t index) const {
        const auto errors = dialogs.Errors();
        return index < errors.size() ? errors[index].text : QString();
    }
};

TEST_F(TransferFaults, ARefusedCreateIsReportedOnceAndNoRowsFollow) {
    // On the server but not in the Oracle list: no question, CREATE fails.
    ServerExecute("CREATE TABLE \"KEEP\"(\"Name\" NVARCHAR2(2000))");
    ServerExecute("INSERT INTO \"KEEP\" VALUES('precious')");
    WriteSmall("KEEP.DB");
    WriteSmall("NEXT.DB");
    ShowParadoxTables({"KEEP", "NEXT"}, {"KEEP", "NEXT"});

    const StatementLog log;
    Send();

    EXPECT_EQ(ReportedLines(), std::vector<int>{202});
    EXPECT_TRUE(ErrorText(0).contains("already exists")) << ErrorText(0).toStdString();
    EXPECT_TRUE(
        StatementsStartingWith(SentAfterSessionSetting(log), "INSERT INTO \"KEEP\"").isEmpty());
    EXPECT_EQ(ServerQuery("SELECT \"Name\"::text FROM \"KEEP\""),
              (QList<QStringList>{{"precious"}}));
    // The walk went on, and both names are in the list, the failed one included.
    EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM \"NEXT\""), (QList<QStringList>{{"2"}}));
    EXPECT_EQ(Entries(oracleList), (QStringList{"KEEP", "NEXT"}));
    EXPECT_EQ(progress.history, (std::vector<double>{50, 100, 0, 0}));
}

TEST_F(TransferFaults, ATableNameWithADoubleQuoteIsRefusedBeforeAnythingIsSent) {
    WriteSmall("A\"B.DB");
    WriteSmall("GOOD.DB");
    ShowOracleTables({"A\"B"});
    ShowParadoxTables({"A\"B", "GOOD"}, {"A\"B", "GOOD"});
    dialogs.QueueAnswer(vbYes);

    const StatementLog log;
    Send();

    // The read is refused, naming the table, before anything is dropped.
    EXPECT_EQ(ReportedLines(), (std::vector<int>{140}));
    EXPECT_TRUE(ErrorText(0).contains("A\"B")) << ErrorText(0).toStdString();
    const QStringList sent = SentAfterSessionSetting(log);
    EXPECT_EQ(sent, (QStringList{"CREATE TABLE \"GOOD\"(\"Name\" NVARCHAR2(2000))",
                                 "INSERT INTO \"GOOD\" VALUES('one')",
                                 "INSERT INTO \"GOOD\" VALUES('two')"}));
    EXPECT_EQ(Entries(oracleList), (QStringList{"A\"B", "GOOD"}));
}

TEST_F(TransferFaults, AFieldNameWithADoubleQuoteKeepsTheTableFromBeingCreated) {
    WriteTable("QUOTED.DB", {Alpha("Fine"), Alpha("Bad\"Name")}, {{Text("a"), Text("b")}});
    ShowParadoxTables({"QUOTED"}, {"QUOTED"});

    const StatementLog log;
    Send();

    // Reported at the line that appends that field's column (a text column).
    EXPECT_EQ(ReportedLines(), std::vector<int>{154});
    EXPECT_TRUE(ErrorText(0).contains("Bad\"Name")) << ErrorText(0).toStdString();
    EXPECT_TRUE(SentAfterSessionSetting(log).isEmpty());
    EXPECT_EQ(Entries(oracleList), QStringList{"QUOTED"});
}

TEST_F(TransferFaults, NamesLongerThanTheServersDriverSaysAreRefusedBeforeCreate) {
    // psqlODBC says a name holds 63 bytes (SQL_MAX_TABLE_NAME_LEN, SQL_MAX_COLUMN_NAME_LEN).
    const QString longTable(64, u'T');
    WriteSmall(longTable + QStringLiteral(".DB"));
    WriteTable("FIELDS.DB", {Alpha("Fine"), Alpha(QString(64, u'F').toLatin1().constData())},
               {{Text("a"), Text("b")}});
    ShowParadoxTables({longTable, "FIELDS"}, {longTable, "FIELDS"});

    const StatementLog log;
    Send();

    EXPECT_EQ(ReportedLines(), (std::vector<int>{142, 154}));  // from the bottom of the list up
    EXPECT_TRUE(ErrorText(0).contains(longTable)) << ErrorText(0).toStdString();
    EXPECT_TRUE(ErrorText(1).contains("64 bytes") && ErrorText(1).contains("at most 63 bytes"))
        << ErrorText(1).toStdString();
    EXPECT_TRUE(SentAfterSessionSetting(log).isEmpty());
}

TEST_F(TransferFaults, AParadoxTableThatCannotBeOpenedIsReportedOnceAndTheWalkGoesOn) {
    WriteBytes("BROKEN.DB", QByteArray("this is not a Paradox table at all"));
    WriteSmall("FINE.DB");
    ShowParadoxTables({"BROKEN", "FINE", "MISSING"}, {"BROKEN", "FINE", "MISSING"});

    const StatementLog log;
    Send();

    EXPECT_EQ(ReportedLines(), (std::vector<int>{140, 140}));
    EXPECT_TRUE(ErrorText(0).contains("MISSING")) << ErrorText(0).toStdString();
    EXPECT_EQ(
        SentAfterSessionSetting(log),
        (QStringList{"CREATE TABLE \"FINE\"(\"Name\" NVARCHAR2(2000))",
                     "INSERT INTO \"FINE\" VALUES('one')", "INSERT INTO \"FINE\" VALUES('two')"}));
    EXPECT_EQ(pointer.history, (std::vector<int>{vbHourglass, vbDefault}));
}

TEST_F(TransferFaults, ATableThatCannotBeReadKeepsItsOracleTableAfterYes) {
    // Listed from a subfolder (the folder itself holds no such table), damaged, and empty.
    for (const char* name : {"BROKEN", "DEEP", "EMPTY"}) {
        ServerExecute(QStringLiteral("CREATE TABLE \"%1\"(\"Name\" NVARCHAR2(2000))").arg(name));
        ServerExecute(QStringLiteral("INSERT INTO \"%1\" VALUES('precious')").arg(name));
    }
    ASSERT_TRUE(QDir(folder.path()).mkpath("Archive/1998"));
    WriteSmall("Archive/1998/DEEP.DB");
    WriteBytes("BROKEN.DB", QByteArray("this is not a Paradox table at all"));
    WriteBytes("EMPTY.DB", QByteArray());
    ShowOracleTables({"BROKEN", "DEEP", "EMPTY"});
    ShowParadoxTables({"BROKEN", "DEEP", "EMPTY"}, {"BROKEN", "DEEP", "EMPTY"});
    for (int i = 0; i < 3; ++i) {
        dialogs.QueueAnswer(vbYes);  // overwrite?
        dialogs.QueueAnswer(vbOK);   // its report
    }

    const StatementLog log;
    Send();

    // Bottom up: each is asked about, then reported once when it cannot be opened.
    EXPECT_EQ(ReportedLines(), (std::vector<int>{140, 140, 140}));
    EXPECT_TRUE(ErrorText(1).startsWith(
        "The Paradox table \"DEEP\" is in the subfolder \"Archive/1998\" of the Paradox folder"))
        << ErrorText(1).toStdString();
    EXPECT_TRUE(SentAfterSessionSetting(log).isEmpty());
    for (const char* name : {"BROKEN", "DEEP", "EMPTY"}) {
        EXPECT_EQ(ServerQuery(QStringLiteral("SELECT \"Name\"::text FROM \"%1\"").arg(name)),
                  (QList<QStringList>{{"precious"}}))
            << name;
    }
    EXPECT_EQ(Entries(oracleList), (QStringList{"BROKEN", "DEEP", "EMPTY"}));
}

TEST_F(TransferFaults, AnEntryListedFromASubfolderIsNeverSentAsTheFoldersNamesake) {
    ServerExecute("CREATE TABLE \"ORDERS\"(\"Name\" NVARCHAR2(2000))");
    ASSERT_TRUE(QDir(folder.path()).mkpath("Archive"));
    WriteSmall("ORDERS.DB");
    WriteTable("Archive/ORDERS.DB", {Alpha("Name")}, {{Text("archived")}});
    ShowOracleTables({"ORDERS"});
    LoadParadoxTables(paradoxList, login);
    for (int i = 0; i < paradoxList.ListCount(); ++i) {
        paradoxList.SetSelected(i, true);  // Select All
    }
    paradoxList.SetListIndex(0);
    // From the bottom up: the subfolder's entry (listed after the folder's own) is reported
    // without a question; overwrite ORDERS? is asked once, for the folder's own entry.
    dialogs.QueueAnswer(vbOK);
    dialogs.QueueAnswer(vbYes);

    Send();

    EXPECT_EQ(ReportedLines(), (std::vector<int>{140}));
    EXPECT_TRUE(ErrorText(0).startsWith(
        "The entry \"ORDERS\" stands for the table in the subfolder \"Archive\""))
        << ErrorText(0).toStdString();
    EXPECT_EQ(dialogs.Texts().count("Would you like to overwrite ORDERS?"), 1);
    EXPECT_EQ(ServerQuery("SELECT \"Name\"::text FROM \"ORDERS\" ORDER BY 1"),
              (QList<QStringList>{{"one"}, {"two"}}));
    EXPECT_EQ(Entries(oracleList), QStringList{"ORDERS"});
}

TEST_F(TransferFaults, EachOfTwoSpellingsSendsItsOwnFileAndAsksBeforeOverwritingTheOther) {
    WriteTable("T.DB", {Alpha("Name")}, {{Text("upper")}});
    WriteTable("T.db", {Alpha("Name")}, {{Text("lower")}, {Text("lower too")}});
    LoadParadoxTables(paradoxList, login);
    ASSERT_EQ(Entries(paradoxList), (QStringList{"T", "T"}));
    for (const int entry : {1, 0}) {
        paradoxList.SetSelected(1 - entry, false);
        paradoxList.SetSelected(entry, true);
        paradoxList.SetListIndex(entry);
        if (entry == 0) {
            dialogs.QueueAnswer(vbYes);  // the other file was sent first
        }
        Send();
        const QList<QStringList> rows =
            TwinFileOfEntry(paradoxList, entry, folder.path()) == QStringLiteral("T.DB")
                ? QList<QStringList>{{"upper"}}
                : QList<QStringList>{{"lower"}, {"lower too"}};
        EXPECT_EQ(ServerQuery("SELECT \"Name\"::text FROM \"T\" ORDER BY 1"), rows);
    }
    EXPECT_TRUE(ReportedLines().empty());
    EXPECT_EQ(dialogs.Texts().count("Would you like to overwrite T?"), 1);
}

TEST_F(TransferFaults, ADeadServerGivesOneReportPerFailingStepAndNoHang) {
    WriteSmall("ONE.DB");
    WriteSmall("TWO.DB");
    ShowOracleTables({"ONE"});
    ShowParadoxTables({"ONE", "TWO"}, {"ONE", "TWO"});
    dialogs.QueueAnswer(vbOK);   // the failed connection
    dialogs.QueueAnswer(vbOK);   // TWO's refused CREATE
    dialogs.QueueAnswer(vbYes);  // overwrite ONE?
    login.sid = folder.filePath("no-server-here");

    Send();

    // The connection (118); then from the bottom up TWO's refused CREATE (202), ONE's drop after
    // Yes (136) and its refused CREATE. No row is tried after a refused CREATE.
    EXPECT_EQ(ReportedLines(), (std::vector<int>{118, 202, 136, 202}));
    EXPECT_TRUE(ErrorText(0).contains("no-server-here")) << ErrorText(0).toStdString();
    EXPECT_EQ(Entries(oracleList), (QStringList{"ONE", "TWO"}));
    EXPECT_EQ(pointer.history, (std::vector<int>{vbHourglass, vbDefault}));
    EXPECT_EQ(progress.history, (std::vector<double>{0, 0}));
    EXPECT_EQ(dialogs.Texts()[2], QStringLiteral("Would you like to overwrite ONE?"));
}

TEST_F(TransferFaults, AMissingParadoxFolderIsReportedPerTable) {
    ShowParadoxTables({"ONE"}, {"ONE"});
    login.folder = folder.filePath("gone");

    const StatementLog log;
    Send();

    const std::vector<int> lines = ReportedLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), 140);
    EXPECT_TRUE(SentAfterSessionSetting(log).isEmpty());
    EXPECT_EQ(pointer.history, (std::vector<int>{vbHourglass, vbDefault}));
}

TEST_F(TransferFaults, EveryReportCarriesTheCommandsLabel) {
    WriteSmall("KEEP.DB");
    ServerExecute("CREATE TABLE \"KEEP\"(\"X\" INT)");
    ShowParadoxTables({"KEEP"}, {"KEEP"});

    Send();

    ASSERT_EQ(dialogs.Errors().size(), 1u);
    const ScriptedDialogs::Box box = dialogs.Errors()[0];
    EXPECT_EQ(box.buttons, vbExclamation);
    EXPECT_TRUE(box.text.contains("\r\nin Quorvex2/19/2015.Form2.PushButton4_Click at line 202"))
        << box.text.toStdString();
}

class TransferSourceFaults : public TransferFaults {};

TEST_F(TransferSourceFaults, ATableThatStopsReadingMidwayEndsItsCopyWithOneReport) {
    std::vector<Row> rows;
    for (int i = 0; i < 200; ++i) {
        rows.push_back({Int(i), Text(QString(60, QChar(u'a' + i % 26)))});
    }
    WriteTable("CUT.DB", {Typed("Id", px::FieldType::Long), Alpha("Text", 80)}, rows);
    WriteTable("AFTER.DB", {Alpha("Name")}, {{Text("after")}});
    ShowParadoxTables({"AFTER", "CUT"}, {"AFTER", "CUT"});
    // The file loses all but its header and first block once the copy has opened it: at the
    // first run of window events that finds it open (the log-in lets events run before).
    const QString path = QFileInfo(folder.filePath("CUT.DB")).canonicalFilePath();
    QTimer cut;
    QObject::connect(&cut, &QTimer::timeout, [&] {
        for (const QFileInfo& open :
             QDir("/proc/self/fd").entryInfoList(QDir::AllEntries | QDir::System)) {
            if (open.symLinkTarget() == path) {
                QFile::resize(path, 2 * 2048);
                cut.stop();
            }
        }
    });
    cut.start(0);

    Send();

    // Without a next row the copy of that table ends: no row is sent twice, and no report
    // follows for every row still counted.
    EXPECT_EQ(ReportedLines(), std::vector<int>{246});
    EXPECT_TRUE(ErrorText(0).contains("CUT.DB")) << ErrorText(0).toStdString();
    const QList<QStringList> counts =
        ServerQuery("SELECT COUNT(*), COUNT(DISTINCT \"Id\"), MAX(\"Id\") FROM \"CUT\"");
    ASSERT_EQ(counts.size(), 1);
    EXPECT_EQ(counts[0][0], counts[0][1]);
    EXPECT_GT(counts[0][0].toInt(), 0);
    EXPECT_LT(counts[0][0].toInt(), 200);
    EXPECT_EQ(counts[0][2].toInt() + 1, counts[0][0].toInt());
    EXPECT_EQ(progress.history.back(), 0.0);
    EXPECT_EQ(Entries(oracleList), (QStringList{"AFTER", "CUT"}));
    EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM \"AFTER\""), (QList<QStringList>{{"1"}}));
}

TEST_F(TransferSourceFaults, AValueThatCannotBeReadIsReportedAndWrittenAsNull) {
    std::vector<Row> rows;
    for (int i = 1; i <= 3; ++i) {
        rows.push_back({Int(i), Text(QString(300, u'm'))});
    }
    WriteTable("MEMOS.DB",
               {Typed("Id", px::FieldType::Long), Typed("Memo", px::FieldType::Memo, 20)}, rows);
    ASSERT_TRUE(QFile::remove(folder.filePath("MEMOS.MB")));
    ShowParadoxTables({"MEMOS"}, {"MEMOS"});

    const StatementLog log;
    Send();

    EXPECT_EQ(ReportedLines(), (std::vector<int>{224, 224, 224}));
    EXPECT_EQ(StatementsStartingWith(SentAfterSessionSetting(log), "INSERT"),
              (QStringList{"INSERT INTO \"MEMOS\" VALUES('1', NULL)",
                           "INSERT INTO \"MEMOS\" VALUES('2', NULL)",
                           "INSERT INTO \"MEMOS\" VALUES('3', NULL)"}));
}

}  // namespace
}  // namespace quorvex::test
