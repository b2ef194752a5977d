// "Send Table/s To Oracle" end to end: real Paradox files, the real list widgets, the real ODBC
// stack and the test server; what was sent is read back from the server's statement log.

#include "transfer_fixture.h"

#include "shell/table_listing.h"
#include "transfer/send_tables.h"

#include <QTimer>

namespace quorvex::test {
namespace {

const std::vector<pw::FieldDesign> kOrdersFields = {
    Typed("OrderNo", px::FieldType::Long), Alpha("Customer"),
    Typed("Amount", px::FieldType::Number), Typed("Placed", px::FieldType::Date),
    Typed("Photo", px::FieldType::Blob, 10)};

const QString kOrdersCreate = QStringLiteral(
    "CREATE TABLE \"ORDERS\"(\"OrderNo\" INT,\"Customer\" NVARCHAR2(2000),\"Amount\" FLOAT,"
    "\"Placed\" NVARCHAR2(2000),\"Photo\" BLOB)");

const std::vector<int> kHourglassThenArrow{vbHourglass, vbDefault};

class SendTables : public TransferTest {
  protected:
    void WriteOrders(const QString& fileName = QStringLiteral("ORDERS.DB")) {
        WriteTable(fileName, kOrdersFields,
                   {{Int(1001), Text("O'Brien"), Number(249.95), DateOf(2014, 3, 14), {}},
                    {Int(1002), Text("Smith"), Number(-12.5), {}, Raw("PNG")}});
    }
    void WriteOneColumn(const QString& fileName, const QString& value) {
        WriteTable(fileName, {Alpha("Name")}, {{Text(value)}});
    }
};

TEST_F(SendTables, CopiesATableWithTheExactStatements) {
    WriteOrders();
    ShowParadoxTables({"ORDERS"}, {"ORDERS"});

    const StatementLog log;
    Send();

    // The session setting right after the connection opens: the test server refuses it (it is
    // no statement of its own), and no report follows.
    EXPECT_EQ(log.Since(),
              (QStringList{kDecimalPointSession, kOrdersCreate,
                           "INSERT INTO \"ORDERS\" VALUES('1001', 'O''Brien', '249.95', "
                           "'3/14/2014', NULL)",
                           "INSERT INTO \"ORDERS\" VALUES('1002', 'Smith', '-12.5', NULL, "
                           "'504E47')"}));
    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join("\n").toStdString();
    EXPECT_EQ(Entries(oracleList), QStringList{"ORDERS"});
    EXPECT_EQ(pointer.history, kHourglassThenArrow);
    EXPECT_EQ(progress.history, (std::vector<double>{50.0, 100.0, 0.0}));
    EXPECT_EQ(ServerQuery("SELECT \"OrderNo\", \"Customer\", \"Amount\", \"Placed\" FROM "
                          "\"ORDERS\" ORDER BY 1"),
              (QList<QStringList>{{"1001", "O'Brien", "249.95", "3/14/2014"},
                                  {"1002", "Smith", "-12.5", QString()}}));
}

TEST_F(SendTables, WithoutACurrentEntryItAsksForASelectionAndDoesNothingElse) {
    WriteOrders();
    paradoxList.AddItem("ORDERS");
    paradoxList.SetSelected(0, true);
    paradoxList.SetListIndex(-1);

    const StatementLog log;
    Send();

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Please select a table to send."));
    EXPECT_EQ(dialogs.boxes[0].buttons, vbOKOnly);
    EXPECT_EQ(dialogs.boxes[0].title, QString());
    EXPECT_TRUE(log.Since().isEmpty());
    EXPECT_TRUE(pointer.history.empty());
    EXPECT_TRUE(progress.history.empty());
    EXPECT_EQ(oracleList.ListCount(), 0);
}

TEST_F(SendTables, ACurrentEntryButNoSelectionCopiesNothingQuietly) {
    WriteOrders();
    ShowParadoxTables({"ORDERS"}, {});

    const StatementLog log;
    Send();

    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(SentAfterSessionSetting(log).isEmpty());
    EXPECT_EQ(pointer.history, kHourglassThenArrow);
    EXPECT_EQ(oracleList.ListCount(), 0);
}

TEST_F(SendTables, SeveralTablesGoFromTheBottomOfTheListUp) {
    for (const char* name : {"A1", "B2", "C3", "D4"}) {
        WriteOneColumn(QStringLiteral("%1.DB").arg(name), name);
    }
    ShowParadoxTables({"A1", "B2", "C3", "D4"}, {"A1", "C3", "D4"});

    const StatementLog log;
    Send();

    EXPECT_EQ(StatementsStartingWith(SentAfterSessionSetting(log), "CREATE TABLE"),
              (QStringList{"CREATE TABLE \"D4\"(\"Name\" NVARCHAR2(2000))",
                           "CREATE TABLE \"C3\"(\"Name\" NVARCHAR2(2000))",
                           "CREATE TABLE \"A1\"(\"Name\" NVARCHAR2(2000))"}));
    EXPECT_EQ(Entries(oracleList), (QStringList{"A1", "C3", "D4"}));
    EXPECT_EQ(ServerQuery("SELECT \"Name\" FROM \"C3\""), (QList<QStringList>{{"C3"}}));
    EXPECT_TRUE(dialogs.boxes.empty());
    // One row a table: 100 before it, 0 after it.
    EXPECT_EQ(progress.history, (std::vector<double>{100, 0, 100, 0, 100, 0}));
}

TEST_F(SendTables, OverwriteYesDropsAndCopiesAgain) {
    ServerExecute("CREATE TABLE \"ORDERS\"(\"Old\" INT)");
    ServerExecute("INSERT INTO \"ORDERS\" VALUES(7)");
    WriteOrders();
    ShowOracleTables({"ORDERS", "OTHER"});
    ShowParadoxTables({"ORDERS"}, {"ORDERS"});
    dialogs.QueueAnswer(vbYes);

    const StatementLog log;
    Send();

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Would you like to overwrite ORDERS?"));
    EXPECT_EQ(dialogs.boxes[0].buttons, vbYesNo);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Overwrite?"));
    const QStringList sent = SentAfterSessionSetting(log);
    ASSERT_GE(sent.size(), 2);
    EXPECT_EQ(sent[0], QStringLiteral("DROP TABLE \"ORDERS\""));
    EXPECT_EQ(sent[1], kOrdersCreate);
    EXPECT_EQ(sent.size(), 4);
    EXPECT_EQ(Entries(oracleList), (QStringList{"ORDERS", "OTHER"}));
    EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM \"ORDERS\""), (QList<QStringList>{{"2"}}));
}

TEST_F(SendTables, OverwriteNoLeavesThatTableAloneAndCopiesTheOthers) {
    ServerExecute("CREATE TABLE \"ORDERS\"(\"Old\" INT)");
    WriteOrders();
    WriteOneColumn("ZIP.DB", "12345");
    ShowOracleTables({"ORDERS"});
    ShowParadoxTables({"ORDERS", "ZIP"}, {"ORDERS", "ZIP"});
    dialogs.QueueAnswer(vbNo);

    const StatementLog log;
    Send();

    EXPECT_EQ(dialogs.Texts(), QStringList{"Would you like to overwrite ORDERS?"});
    EXPECT_EQ(SentAfterSessionSetting(log),
              (QStringList{"CREATE TABLE \"ZIP\"(\"Name\" NVARCHAR2(2000))",
                           "INSERT INTO \"ZIP\" VALUES('12345')"}));
    EXPECT_EQ(Entries(oracleList), (QStringList{"ORDERS", "ZIP"}));
    EXPECT_EQ(Entries(paradoxList), (QStringList{"ORDERS", "ZIP"}));
    EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM \"ORDERS\""), (QList<QStringList>{{"0"}}));
}

TEST_F(SendTables, EachListedTableGetsItsOwnQuestion) {
    WriteOneColumn("A.DB", "a");
    WriteOneColumn("B.DB", "b");
    ServerExecute("CREATE TABLE \"A\"(\"X\" INT)");
    ServerExecute("CREATE TABLE \"B\"(\"X\" INT)");
    ShowOracleTables({"A", "B"});
    ShowParadoxTables({"A", "B"}, {"A", "B"});
    dialogs.QueueAnswer(vbYes);  // B, asked first
    dialogs.QueueAnswer(vbNo);   // A

    const StatementLog log;
    Send();

    EXPECT_EQ(dialogs.Texts(),
              (QStringList{"Would you like to overwrite B?", "Would you like to overwrite A?"}));
    EXPECT_EQ(SentAfterSessionSetting(log),
              (QStringList{"DROP TABLE \"B\"", "CREATE TABLE \"B\"(\"Name\" NVARCHAR2(2000))",
                           "INSERT INTO \"B\" VALUES('b')"}));
}

TEST_F(SendTables, ANameListedInAnotherCaseIsAskedAboutAndAddedOnceMore) {
    ServerExecute("CREATE TABLE \"orders\"(\"Old\" INT)");
    WriteOrders();
    ShowOracleTables({"orders"});
    ShowParadoxTables({"ORDERS"}, {"ORDERS"});
    dialogs.QueueAnswer(vbYes);

    const StatementLog log;
    Send();

    // The question names the Paradox entry; DROP TABLE names it too, and the server has no
    // table of that spelling, so the drop fails and is reported; the copy goes ahead.
    ASSERT_FALSE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Would you like to overwrite ORDERS?"));
    EXPECT_EQ(ReportedLines(), std::vector<int>{136});
    const QStringList sent = SentAfterSessionSetting(log);
    ASSERT_GE(sent.size(), 2);
    EXPECT_EQ(sent[0], QStringLiteral("DROP TABLE \"ORDERS\""));
    EXPECT_EQ(sent[1], kOrdersCreate);
    EXPECT_EQ(Entries(oracleList), (QStringList{"ORDERS", "orders"}));
    EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM \"ORDERS\""), (QList<QStringList>{{"2"}}));
    EXPECT_EQ(ServerQuery("SELECT COUNT(*) FROM \"orders\""), (QList<QStringList>{{"0"}}));
}

TEST_F(SendTables, AnEmptyTableIsCreatedWithoutRowsAndTheBarStaysAtZero) {
    WriteTable("EMPTY.DB", kOrdersFields, {});
    ShowParadoxTables({"EMPTY"}, {"EMPTY"});

    const StatementLog log;
    Send();

    EXPECT_EQ(SentAfterSessionSetting(log),
              QStringList{QString(kOrdersCreate).replace("\"ORDERS\"", "\"EMPTY\"")});
    EXPECT_EQ(progress.history, std::vector<double>{0.0});
    EXPECT_EQ(Entries(oracleList), QStringList{"EMPTY"});
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SendTables, TheBarIsSetBeforeEachRowAsAFractionOfOneHundred) {
    WriteTable("THREE.DB", {Typed("N", px::FieldType::Short)}, {{Int(1)}, {Int(2)}, {Int(3)}});
    ShowParadoxTables({"THREE"}, {"THREE"});

    Send();

    ASSERT_EQ(progress.history.size(), 4u);
    EXPECT_DOUBLE_EQ(progress.history[0], 1.0 / 3.0 * 100.0);
    EXPECT_DOUBLE_EQ(progress.history[1], 2.0 / 3.0 * 100.0);
    EXPECT_DOUBLE_EQ(progress.history[2], 100.0);
    EXPECT_EQ(progress.history[3], 0.0);
    EXPECT_EQ(ServerQuery("SELECT \"N\" FROM \"THREE\" ORDER BY 1"),
              (QList<QStringList>{{"1"}, {"2"}, {"3"}}));
}

TEST_F(SendTables, WindowEventsRunWhileTheRowsAreCopied) {
    std::vector<Row> rows;
    for (int i = 0; i < 50; ++i) {
        rows.push_back({Int(i)});
    }
    WriteTable("MANY.DB", {Typed("N", px::FieldType::Long)}, rows);
    ShowParadoxTables({"MANY"}, {"MANY"});
    int pointerSeen = -1;
    QTimer::singleShot(0, [&] { pointerSeen = pointer.MousePointer(); });

    Send();

    // The event waiting when the command started ran inside it, under the hourglass.
    EXPECT_EQ(pointerSeen, vbHourglass);
    EXPECT_EQ(pointer.state, vbDefault);
}

// A front end's stop (the command line's Ctrl+C) ends the send after the row in hand: the rows
// before it stay, the closing steps run, nothing is reported and the next table is not begun.
TEST_F(SendTables, AStopRequestEndsTheSendAfterTheRowInHand) {
    std::vector<Row> rows;
    for (int i = 1; i <= 10; ++i) {
        rows.push_back({Int(i)});
    }
    WriteTable("TEN.DB", {Typed("N", px::FieldType::Long)}, rows);
    WriteOneColumn("ABOVE.DB", "a");
    ShowParadoxTables({"ABOVE", "TEN"}, {"ABOVE", "TEN"});
    StopRequest stop;
    struct StoppingBar : RecordingProgressBar {
        StopRequest* stop = nullptr;
        void SetValue(double v) override {
            RecordingProgressBar::SetValue(v);
            if (v > 25.0) stop->Request();  // while the third row is in hand
        }
    } bar;
    bar.stop = &stop;

    TablesScreen screen{oracleList, paradoxList, bar, pointer, dialogs, login, &stop};
    SendTablesToOracle(screen);

    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join("\n").toStdString();
    EXPECT_EQ(ServerQuery("SELECT \"N\" FROM \"TEN\" ORDER BY 1"),
              (QList<QStringList>{{"1"}, {"2"}, {"3"}}));
    ASSERT_EQ(bar.history.size(), 4u);
    EXPECT_EQ(bar.history.back(), 0.0);
    EXPECT_EQ(pointer.history, kHourglassThenArrow);
    EXPECT_EQ(Entries(oracleList), QStringList{"TEN"});
}

TEST_F(SendTables, EveryListedTableIsFoundByItsListedName) {
    // Found ignoring case, also where upper case has no plain letter of its own, and where names
    // differ only in such letters.
    const QStringList files = {"orders.db", "daß.db", "dass.DB", "ﬁle.db", "İs.db", "ıs.DB"};
    for (int i = 0; i < files.size(); ++i) {
        // Written under a name the header's code page can hold, then given its own.
        WriteOneColumn(QStringLiteral("T%1.DB").arg(i), QString::number(i));
        ASSERT_TRUE(QFile::rename(folder.filePath(QStringLiteral("T%1.DB").arg(i)),
                                  folder.filePath(files[i])));
    }
    LoadParadoxTables(paradoxList, login);
    for (int i = 0; i < paradoxList.ListCount(); ++i) {
        paradoxList.SetSelected(i, true);
    }
    paradoxList.SetListIndex(0);

    Send();

    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join("\n").toStdString();
    EXPECT_EQ(Entries(oracleList), (QStringList{"DASS", "DAß", "ﬁLE", "IS", "İS", "ORDERS"}));
    const QStringList tables = {"ORDERS", "DAß", "DASS", "ﬁLE", "İS", "IS"};
    for (int i = 0; i < files.size(); ++i) {
        EXPECT_EQ(ServerQuery(QStringLiteral("SELECT \"Name\" FROM \"%1\"").arg(tables[i])),
                  (QList<QStringList>{{QString::number(i)}}));
    }
}

}  // namespace
}  // namespace quorvex::test
