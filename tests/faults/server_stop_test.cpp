#include "program_fixture.h"
#include "support/private_server.h"

#include "manage/table_commands.h"
#include "screens/table_list_widget.h"
#include "screens/vendor_controls.h"
#include "support/recording_ui.h"
#include "table_writer.h"

#include <QObject>

#include <cmath>
#include <utility>

namespace quorvex::test {
namespace {

constexpr int kAfterRows = 5;

// BIG as the copy meets it: 10,000 rows of literals, or 1,000 rows each holding a picture too
// long for a literal, so every INSERT binds a value.
struct BigTable {
    int rows;
    bool pictures;
};

void WritePictureTable(const QString& path, int rows) {
    namespace px = quorvex::paradox;
    pxwriter::TableDesign design;
    design.fields = {{"ID", px::FieldType::Long, 0}, {"PICTURE", px::FieldType::Graphic, 10}};
    pxwriter::TableWriter writer(path.toStdString(), design);
    for (int row = 1; row <= rows; ++row) {
        writer.addRow({px::Value::Integer(row), px::Value::Raw(px::ByteVector(2500, 0x5A))});
    }
    writer.finish();
}

// The server goes away while "Send Table/s To Oracle" copies BIG: it is stopped from the
// progress bar, that is between two INSERT statements, a quarter of the way in. The lost
// connection is reported once and ends the command; AFTER, above BIG in the list, is never begun.
class ServerStoppedMidTransfer : public ProgramTest,
                                 public ::testing::WithParamInterface<BigTable> {};

TEST_P(ServerStoppedMidTransfer, OneReportEndsTheCommandAndTheRowsBeforeStay) {
    PrivateServer server;
    ASSERT_TRUE(server.Running()) << server.Problem().toStdString();

    const int kBigRows = GetParam().rows;
    if (GetParam().pictures) {
        WritePictureTable(tables.path() + QStringLiteral("/BIG.DB"), kBigRows);
    } else {
        WriteNumberedTable(QStringLiteral("BIG.DB"), kBigRows);
    }
    WriteNumberedTable(QStringLiteral("AFTER.DB"), kAfterRows);
    EnterLogin(tables.path(), server.Sid());
    Form2* form2 = Next();
    ASSERT_NE(form2, nullptr) << PlainMessages().join(u'\n').toStdString();
    ASSERT_EQ(Entries(form2->ParadoxList()), (QStringList{"AFTER", "BIG"}));
    ASSERT_TRUE(Entries(form2->OracleList()).isEmpty());

    auto* bar = form2->findChild<VendorProgressBar*>(QStringLiteral("ProgressBar1"));
    ASSERT_NE(bar, nullptr);
    int stopRow = 0;
    long long rowsBeforeStop = -1;
    QObject::connect(bar, &QProgressBar::valueChanged, bar, [&] {
        if (stopRow != 0 || bar->realValue() < 25.0) {
            return;
        }
        // The bar is set just before its row is sent: rows 1 to stopRow - 1 are in.
        stopRow = static_cast<int>(std::lround(bar->realValue() * kBigRows / 100.0));
        rowsBeforeStop = server.RowCount(QStringLiteral("BIG"));
        server.Stop();
    });

    SelectEntries(form2->ParadoxList(), {QStringLiteral("AFTER"), QStringLiteral("BIG")});
    form2->ParadoxList().SetListIndex(1);
    Click(*form2, "PushButton4");  // returns: no hang on the dead connection

    ASSERT_GT(stopRow, 0) << "the copy never reached a quarter of the rows";
    EXPECT_EQ(rowsBeforeStop, stopRow - 1) << "rows sent before the stop went missing";

    // The next row met the stopped server: one report, at its INSERT.
    const std::vector<Report> reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].label, QStringLiteral("Form2.PushButton4_Click"));
    EXPECT_EQ(reports[0].line, 244);
    EXPECT_FALSE(reports[0].description.trimmed().isEmpty()) << "a report without the reason";
    EXPECT_TRUE(PlainMessages().isEmpty());

    // The command ended as it always does: pointer back, bar at 0. BIG stands on the server with
    // the rows sent before the stop, so it is listed; AFTER was not begun.
    EXPECT_EQ(form2->MousePointerState().MousePointer(), vbDefault);
    EXPECT_EQ(bar->realValue(), 0.0);
    EXPECT_EQ(Entries(form2->OracleList()), QStringList{"BIG"});

    // The window takes clicks again.
    ASSERT_TRUE(form2->isVisible());
    Click(*form2, "PushButton9");  // "Deselect All", Paradox
    EXPECT_EQ(form2->ParadoxList().SelCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ServerStoppedMidTransfer,
                         ::testing::Values(BigTable{10000, false}, BigTable{1000, true}),
                         [](const ::testing::TestParamInfo<BigTable>& param) {
                             return param.param.pictures ? "WithBoundValues" : "OfLiterals";
                         });

// A list that stops the server once its first entry is gone: between two DROP statements.
struct ListStoppingTheServer : TableListWidget {
    PrivateServer* server = nullptr;
    void RemoveItem(int index) override {
        TableListWidget::RemoveItem(index);
        if (server != nullptr) std::exchange(server, nullptr)->Stop();
    }
};

// The server goes away while "Delete" drops 20 selected Oracle tables: one report, and the
// tables not yet dropped stay listed, rather than a report and a vanished entry for each.
TEST_F(ProgramTest, ServerStoppedMidOracleDeleteReportsOnceAndKeepsTheRest) {
    PrivateServer server;
    ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
    ListStoppingTheServer oracleList;
    for (int i = 10; i < 30; ++i) {
        server.Query(QStringLiteral("CREATE TABLE \"T%1\" (\"ID\" INT)").arg(i));
        oracleList.AddItem(QStringLiteral("T%1").arg(i));
        oracleList.SetSelected(oracleList.ListCount() - 1, true);
    }
    oracleList.SetListIndex(0);
    oracleList.server = &server;
    TableListWidget paradoxList;
    RecordingProgressBar progress;
    RecordingPointer pointer;
    FixedFields fields;
    fields.sid = server.Sid();
    fields.user = QStringLiteral("scott");
    fields.password = QStringLiteral("tiger");
    TablesScreen screen{oracleList, paradoxList, progress, pointer, dialogs, fields};

    DeleteOracleTables(screen);

    const std::vector<Report> reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].line, 112);
    // T29 was dropped; T28 met the stopped server and stays listed with the rest.
    EXPECT_EQ(oracleList.ListCount(), 19);
    EXPECT_EQ(oracleList.List(18), QStringLiteral("T28"));
    EXPECT_EQ(pointer.state, vbDefault);
}

}  // namespace
}  // namespace quorvex::test
