#include "data/core/connection_strings.h"
#include "manage/command_support.h"
#include "manage/table_commands.h"
#include "shell/command_steps.h"

namespace quorvex {

// Renames the one selected Oracle table to the name the user types, used exactly as typed as a
// quoted identifier. The list is updated even when the server refuses the statement (reported);
// the next refresh shows the real state.
void RenameOracleTable(TablesScreen& screen) {
    CommandSteps steps(screen.dialogs, QStringLiteral("Form2.PushButton6_Click"));
    TableList& list = screen.List1;
    std::unique_ptr<Connection> connection;

    steps.Step(100, [&] { connection = std::make_unique<Connection>(); });
    steps.Step(102, [&] { screen.Screen.SetMousePointer(vbHourglass); });
    steps.Step(104,
               [&] { RequireConnection(connection).Open(OracleConnectionString(screen.fields)); });
    const OracleDatabaseRules rules = ReadRulesQuietly(steps, connection);
    if (steps.Test(106, [&] { return list.ListIndex() == -1; })) {
        steps.Step(132, [&] {
            ShowMessage(screen.dialogs, QStringLiteral("Please select a table to rename."));
        });
    } else if (steps.Test(108, [&] { return list.SelCount() != 1; })) {
        steps.Step(130, [&] {
            ShowMessage(screen.dialogs, QStringLiteral("Please select just one table to rename."));
        });
    } else {
        int count = 0;
        steps.Step(110, [&] { count = list.ListCount(); });
        for (int i = count - 1; i >= 0; --i) {
            if (!steps.Test(112, [&] { return list.Selected(i); })) {
                continue;
            }
            QString oldName;
            QString newName;
            steps.Step(114, [&] { oldName = list.List(i); });
            steps.Step(116, [&] { newName = AskNewName(screen.dialogs, oldName); });
            if (steps.Test(118, [&] { return newName.isEmpty(); })) {
                continue;  // Cancel, or an empty answer: nothing is renamed
            }
            steps.Step(120, [&] {
                const QString notRenamed = QStringLiteral("the table is not renamed");
                RequireConnection(connection)
                    .Execute(QStringLiteral("RENAME ") + QuotedName(oldName, notRenamed, rules) +
                             QStringLiteral(" TO ") + QuotedName(newName, notRenamed, rules));
            });
            steps.Step(122, [&] { list.RemoveItem(i); });
            steps.Step(124, [&] { list.AddItem(newName); });
            steps.Step(126, [&] {
                if (list.ListCount() > 0) {
                    list.SetListIndex(0);
                }
            });
        }  // 128: Next i
    }
    steps.Step(134, [&] { screen.Screen.SetMousePointer(vbDefault); });
}

}  // namespace quorvex
