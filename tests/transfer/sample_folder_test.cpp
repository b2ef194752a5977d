// The sample folder the program offers a newcomer sends whole: every table the tables screen
// lists from it arrives with all its rows, without a single report.

#include "transfer_fixture.h"

#include "shell/table_listing.h"
#include "sample_tables.h"

#include <map>

namespace quorvex::test {
namespace {

using SampleFolderSend = TransferTest;

TEST_F(SampleFolderSend, EveryListedTableArrivesWithAllItsRows) {
    const std::map<QString, int> rows = {
        {"CUSTOMER", 250}, {"ORDERS", 600}, {"ORDERS98", 300}, {"PARTS", 180}, {"SUPPLIER", 40}};
    samples::WriteSampleFolder(QFile::encodeName(folder.path()).toStdString());
    LoadParadoxTables(paradoxList, login);
    const QStringList listed = Entries(paradoxList);
    ASSERT_EQ(listed.size(), static_cast<qsizetype>(rows.size()))
        << listed.join(u' ').toStdString();
    ShowParadoxTables({}, listed);  // every entry selected, the last one current

    Send();

    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text.toStdString();
    for (const auto& [table, count] : rows) {
        EXPECT_EQ(ServerQuery(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)),
                  (QList<QStringList>{{QString::number(count)}}))
            << table.toStdString();
    }
}

}  // namespace
}  // namespace quorvex::test
