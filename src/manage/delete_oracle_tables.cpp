#include "data/core/connection_strings.h"
#include "data/core/event_pump.h"
#include "data/core/failure.h"
#include "manage/command_support.h"
#include "manage/table_commands.h"
#include "manage/undeleted_tables.h"
#include "shell/command_steps.h"

namespace quorvex {

// Drops every selected Oracle table, walking the list from its last entry up so that the
// indices still to be visited stay valid while entries are removed. An entry leaves the list only
// when its DROP went through: the tables the server refused (or whose names it cannot take) stay
// listed and are named, each with its reason, in one report at the end of the walk, so that a
// refusing server never buries the user under a box per table. A connection that cannot be opened
// is reported once and no DROP is tried on it. A lost connection ends the walk after the entry in
// hand: it is reported once, and the tables not yet dropped stay listed. Pending window events
// run between the statements now and then, so the window repaints while thousands of tables go.
void DeleteOracleTables(TablesScreen& screen) {
    CommandSteps steps(screen.dialogs, QStringLiteral("Form2.PushButton1_Click"));
    TableList& list = screen.List1;
    std::unique_ptr<Connection> connection;
    EventPump pump;

    steps.Step(100, [&] { connection = std::make_unique<Connection>(); });
    steps.Step(102, [&] { screen.Screen.SetMousePointer(vbHourglass); });
    // The connection is opened before the selection is looked at, so a bad login is reported
    // even when nothing is selected.
    const bool connected = steps.Step(
        104, [&] { RequireConnection(connection).Open(OracleConnectionString(screen.fields)); });
    const OracleDatabaseRules rules = ReadRulesQuietly(steps, connection);
    if (steps.Test(106, [&] { return list.ListIndex() == -1; })) {
        steps.Step(118,
                   [&] { ShowMessage(screen.dialogs, QStringLiteral("Please select a table")); });
    } else if (connected) {
        UndeletedTables notDropped;
        int count = 0;
        steps.Step(108, [&] { count = list.ListCount(); });
        for (int i = count - 1; i >= 0 && !steps.Ending(); --i) {
            pump.Pump();
            if (steps.Test(110, [&] { return list.Selected(i); })) {
                bool dropped = false;
                steps.Step(112, [&] {
                    const QString name = list.List(i);
                    try {
                        RequireConnection(connection)
                            .Execute(QStringLiteral("DROP TABLE ") +
                                     QuotedName(name, QStringLiteral("the table is not deleted"),
                                                rules));
                        dropped = true;
                    } catch (const std::exception& failure) {
                        if (CommandSteps::LostTheConnection(failure)) {
                            throw;  // reported once by the step, and the walk ends
                        }
                        notDropped.Add(name, CommandSteps::Describe(failure));
                    }
                });
                if (dropped) {
                    steps.Step(114, [&] { list.RemoveItem(i); });
                }
            }
        }  // 116: Next i
        if (!notDropped.IsEmpty()) {
            steps.Report(116, Failure(notDropped.Text()));
        }
    }
    steps.Step(120, [&] { screen.Screen.SetMousePointer(vbDefault); });
}

}  // namespace quorvex
