#include "screens/tables_screen_commands.h"

#include "data/core/event_pump.h"
#include "shell/command_steps.h"

namespace quorvex {

QString TablesHelpText() {
    return QStringLiteral("Questions? Please contact Team Veltrane at ") + kContactPage;
}

void ShowTablesHelp(Dialogs& dialogs) {
    CommandSteps steps(dialogs, QStringLiteral("Form2.PushButton12_Click"));
    steps.Step(100, [&] { dialogs.MsgBox(TablesHelpText(), vbOKOnly, QString()); });
}

void SetEveryEntrySelected(TableList& list, bool selected, Dialogs& dialogs, const QString& label) {
    CommandSteps steps(dialogs, label);
    EventPump pump;  // a hundred thousand entries still let the window repaint
    int count = 0;
    steps.Step(100, [&] { count = list.ListCount(); });  // read once
    for (int i = 0; i < count; ++i) {
        pump.Pump();
        steps.Step(102, [&] { list.SetSelected(i, selected); });
    }
    // A list that has no current entry yet (freshly filled) gets its first one, or the commands
    // that start from the current entry would answer "Please select..." with every entry
    // selected.
    if (selected && count > 0) {
        steps.Step(106, [&] {
            if (list.ListIndex() == -1) {
                list.SetListIndex(0);
            }
        });
    }
}

}  // namespace quorvex
