#include "private_server.h"
#include "program_fixture.h"

#include "screens/vendor_controls.h"

#include <QObject>

#include <cmath>
#include <set>

namespace quorvex::test {
namespace {

constexpr int kBigRows = 10000;
constexpr int kAfterRows = 5;

// The server goes away while "Send Table/s To Oracle" copies a table of 10,000 rows: it is
// stopped from the progress bar, that is between two INSERT statements, a quarter of the way in.
// A table after it in the walk meets a server that is already gone.
class ServerStoppedMidTransfer : public ProgramTest {};

TEST_F(ServerStoppedMidTransfer, EveryLostRowIsReportedTheRowsBeforeStayAndNothingHangs) {
    PrivateServer server;
    ASSERT_TRUE(server.Running()) << server.Problem().toStdString();

    WriteNumberedTable(QStringLiteral("BIG.DB"), kBigRows);
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

    // Every row of BIG that could not be sent has its own report. AFTER's CREATE TABLE is
    // refused, and a table that could not be created sends no rows.
    const std::vector<Report> reports = Reports();
    EXPECT_EQ(static_cast<int>(ReportsAtLine(244).size()), kBigRows - stopRow + 1);
    std::set<int> otherLines;
    for (const Report& report : reports) {
        EXPECT_EQ(report.label, QStringLiteral("Form2.PushButton4_Click"));
        EXPECT_FALSE(report.description.trimmed().isEmpty()) << "a report without the reason";
        if (report.line != 244) {
            otherLines.insert(report.line);
        }
    }
    EXPECT_FALSE(otherLines.empty()) << "AFTER's CREATE TABLE was not reported";
    EXPECT_TRUE(PlainMessages().isEmpty());

    // The command ended as it always does: pointer back, bar at 0, both names listed.
    EXPECT_EQ(form2->MousePointerState().MousePointer(), vbDefault);
    EXPECT_EQ(bar->realValue(), 0.0);
    EXPECT_EQ(Entries(form2->OracleList()), (QStringList{"AFTER", "BIG"}));
}

}  // namespace
}  // namespace quorvex::test
