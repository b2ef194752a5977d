#include "data/connection_strings.h"
#include "data/event_pump.h"
#include "manage/command_support.h"
#include "manage/table_commands.h"
#include "shell/command_steps.h"

namespace quorvex {

// Drops every selected Oracle table, walking the list from its last entry up so that the
// indices still to be visited stay valid while entries are removed. An entry is removed even
// when its DROP failed: the failure is reported and the next refresh shows the real state.
// Pending window events run between the statements now and then, so the window repaints while
// thousands of tables go. A lost connection ends the walk after the entry in hand: it is reported
// once, and the tables not yet dropped stay listed.
void DeleteOracleTables(TablesScreen& screen) {
    CommandSteps steps(screen.dialogs, QStringLiteral("Form2.PushButton1_Click"));
    TableList& list = screen.List1;
    std::unique_ptr<Connection> connection;
    EventPump pump;

    steps.Step(100, [&] { connection = std::make_unique<Connection>(); });
    steps.Step(102, [&] { screen.Screen.SetMousePointer(vbHourglass); });
    // The connection is opened before the selection is looked at, so a bad login is reported
    // even when nothing is selected.
    steps.Step(104,
               [&] { RequireConnection(connection).Open(OracleConnectionString(screen.fields)); });
    const OracleDatabaseRules rules = ReadRulesQuietly(steps, connection);
    if (steps.Test(106, [&] { return list.ListIndex() == -1; })) {
        steps.Step(118,
                   [&] { ShowMessage(screen.dialogs, QStringLiteral("Please select a table")); });
    } else {
        int count = 0;
        steps.Step(108, [&] { count = list.ListCount(); });
        for (int i = count - 1; i >= 0 && !steps.Ending(); --i) {
            pump.Pump();
            if (steps.Test(110, [&] { return list.Selected(i); })) {
                steps.Step(112, [&] {
                    RequireConnection(connection)
                        .Execute(QStringLiteral("DROP TABLE ") +
                                 QuotedName(list.List(i),
                                            QStringLiteral("the table is not deleted"), rules));
                });
                steps.Step(114, [&] { list.RemoveItem(i); });
            }
        }  // 116: Next i
    }
    steps.Step(120, [&] { screen.Screen.SetMousePointer(vbDefault); });
}

}  // namespace quorvex
