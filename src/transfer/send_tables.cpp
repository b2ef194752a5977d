#include "transfer/send_tables.h"

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "data/core/connection_strings.h"
#include "data/core/failure.h"
#include "data/folder/path_case.h"
#include "data/folder/table_subfolders.h"
#include "shell/command_steps.h"
#include "shell/table_listing.h"
#include "transfer/list_procedures.h"
#include "transfer/quoted_name.h"
#include "transfer/table_copy.h"
#include "transfer/table_plan.h"

#include <memory>
#include <optional>

namespace quorvex {

namespace {

const QString kLabel = QStringLiteral("Form2.PushButton4_Click");
const QString kSelectATable = QStringLiteral("Please select a table to send.");

// Pending window events run at the copy's yield points at most this often (see YieldPoint).
constexpr int kYieldIntervalMs = 10;

}  // namespace

QString OverwriteQuestion(const QString& table) {
    return QStringLiteral("Would you like to overwrite ") + table + u'?';
}

void SendTablesToOracle(TablesScreen& screen) {
    CommandSteps steps(screen.dialogs, kLabel, screen.stopRequest);
    TableList& oracleList = screen.List1;
    TableList& paradoxList = screen.List2;
    // Each table is found ignoring case in the same folder: its names are read once.
    const FolderNamesKept folderNames;
    TableSubfolders subfolders(screen.fields.Text1());  // walked only for an entry of one

    std::unique_ptr<Connection> oracle;
    std::unique_ptr<Connection> paradox;
    std::unique_ptr<Recordset> source;
    steps.Step(100, [&] { oracle = std::make_unique<Connection>(); });
    steps.Step(102, [&] { paradox = std::make_unique<Connection>(); });
    steps.Step(104, [&] { source = std::make_unique<Recordset>(); });

    if (steps.Test(108, [&] { return paradoxList.ListIndex() == -1; })) {
        screen.dialogs.MsgBox(kSelectATable, vbOKOnly, QString());
        return;
    }

    steps.Step(110, [&] { screen.Screen.SetMousePointer(vbHourglass); });
    steps.Step(112, [&] { paradox->SetCursorLocation(adUseClient); });
    steps.Step(114, [&] { paradox->Open(ParadoxConnectionString(screen.fields)); });
    steps.Step(116, [&] { oracle->SetCursorLocation(adUseServer); });
    steps.Step(118, [&] { oracle->Open(OracleConnectionString(screen.fields)); });
    // The number texts are written with "." as the decimal sign, whatever the language of the
    // client or the server; a server that does not know the statement needs nothing set.
    steps.Quietly([&] { oracle->Execute(kDecimalPointSession); });
    // The names and texts are written for this database: its character set and name limits. A
    // server that will not say is taken for AL32UTF8 with names of up to 128 bytes.
    OracleDatabaseRules rules;
    steps.Quietly([&] { ReadOracleDatabaseRules(*oracle, rules); });

    YieldPoint yield(kYieldIntervalMs);
    int count = 0;
    steps.Step(120, [&] { count = paradoxList.ListCount(); });
    // A lost connection or a stop request ends the walk between tables, and within a table after
    // the row in hand (TableCopy); the closing steps below run as always.
    for (int i = count - 1; i >= 0 && !steps.Ending(); --i) {
        if (!steps.Test(122, [&] { return paradoxList.Selected(i); })) {
            continue;
        }
        std::optional<QString> read;
        bool fromSubfolder = false;
        steps.Step(124, [&] {
            read = paradoxList.List(i);
            fromSubfolder = ListedFromSubfolder(paradoxList, i);
        });
        if (!read) {
            continue;  // an entry without a name (the list changed meanwhile) is passed over
        }
        const QString table = *read;
        if (screen.observer != nullptr) {
            screen.observer->TableReached(table);
        }
        if (fromSubfolder) {
            // Not sent, and its Oracle namesake is not asked about: only the folder's own tables
            // are read, and the folder's table of the same name is an entry of its own.
            steps.Step(140, [&] { throw Failure(SubfolderEntryText(table, subfolders)); });
            continue;
        }

        int answer = 0;
        if (steps.Test(126, [&] { return ListContains(oracleList, table); })) {
            steps.Step(128, [&] {
                answer = screen.dialogs.MsgBox(OverwriteQuestion(table), vbYesNo, kOverwriteTitle);
            });
        }                      // 130: otherwise the answer stays 0
        if (steps.Ending()) {  // a stop asked for while the question was open: nothing dropped
            break;
        }
        if (answer == vbNo) {  // 132
            continue;
        }
        // The Paradox table is opened before anything is dropped: a table that cannot be read
        // (damaged, empty, or listed from a subfolder while the folder itself holds no such
        // table) is reported once and leaves its Oracle table as it was.
        if (!steps.Step(140, [&] {
                TablePlan::Read(*paradox, table, {screen.paradoxCodePage}, rules, source.get());
            })) {
            steps.Step(250, [&] { screen.ProgressBar1.SetValue(0); });  // done with this table
            continue;
        }
        if (answer == vbYes) {  // 134
            steps.Step(136, [&] { oracle->Execute(DropTableStatement(table, rules)); });
            steps.Step(138, [&] { RemoveFromList(oracleList, table); });
            if (steps.Ending()) {
                steps.Quietly([&] { source->Close(); });
                break;  // the drop lost the connection
            }
        }

        // Rows go only into a table this command has just created: after a refused CREATE they
        // would land in a table the user never agreed to overwrite, or fail one by one.
        TableCopy copy{steps, yield, *source, *oracle, table, screen.observer, rules};
        const bool created = copy.CreateOracleTable();
        if (created) {
            copy.CopyRows(screen.ProgressBar1);
        }

        steps.Step(250, [&] { screen.ProgressBar1.SetValue(0); });
        steps.Step(252, [&] { source->Close(); });
        // Cut short, the table is listed only when it stands on the server, with the rows sent
        // so far: sending it again then asks before overwriting the partial copy.
        if (created || !steps.Ending()) {
            steps.Step(254, [&] { oracleList.AddItem(table); });
        }
    }  // 256: next entry

    steps.Step(264, [&] { screen.Screen.SetMousePointer(vbDefault); });
    steps.Step(266, [&] { oracle->Close(); });
    steps.Step(268, [&] { paradox->Close(); });
}

}  // namespace quorvex
