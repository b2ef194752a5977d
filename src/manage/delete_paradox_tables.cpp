#include "data/event_pump.h"
#include "data/path_case.h"
#include "manage/command_support.h"
#include "manage/table_commands.h"
#include "manage/table_files.h"
#include "shell/command_steps.h"
#include "shell/files.h"

namespace quorvex {

// Deletes the data file of every selected Paradox table directly in the folder, trying the ".DB"
// spelling and then the ".db" one. File names match ignoring case, so when the first spelling
// found the file the second finds nothing once it is gone. The table's other files stay.
//
// An entry leaves the list only when its data file is really gone: a file that could not be
// deleted (read-only folder, file in use) keeps its entry, so a failed delete never looks done.
// Nothing is reported for files.
//
// Every table is looked up in the same folder: its names are read once for the whole command,
// and pending window events run now and then so the window repaints while thousands go.
void DeleteParadoxTables(TablesScreen& screen) {
    CommandSteps steps(screen.dialogs, QStringLiteral("Form2.PushButton5_Click"));
    TableList& list = screen.List2;
    const FolderNamesKept folderNames;
    EventPump pump;

    steps.Step(100, [&] { screen.Screen.SetMousePointer(vbHourglass); });
    if (steps.Test(102, [&] { return list.ListIndex() == -1; })) {
        steps.Step(126, [&] {
            ShowMessage(screen.dialogs, QStringLiteral("Please select a table to delete."));
        });
    } else {
        int count = 0;
        steps.Step(104, [&] { count = list.ListCount(); });
        for (int i = count - 1; i >= 0; --i) {
            pump.Pump();
            QString name;  // taken once, before the entry can be removed
            if (!steps.Test(106, [&] {
                    if (!list.Selected(i)) {
                        return false;
                    }
                    name = list.List(i);
                    return true;
                })) {
                continue;
            }
            bool removed = false;
            QString path;
            steps.Step(108, [&] {
                path = DataFilePath(screen.fields.Text1(), name, QStringLiteral(".DB"));
            });
            if (steps.Test(110, [&] { return FileExists(path); })) {
                steps.Step(112, [&] { DeleteFileQuietly(path); });
                steps.Step(114, [&] {
                    if (!FileExists(path)) {
                        list.RemoveItem(i);
                        removed = true;
                    }
                });
            }
            steps.Step(116, [&] {
                path = DataFilePath(screen.fields.Text1(), name, QStringLiteral(".db"));
            });
            if (steps.Test(118, [&] { return FileExists(path); })) {
                steps.Step(120, [&] { DeleteFileQuietly(path); });
                steps.Step(122, [&] {
                    if (!removed && !FileExists(path)) {
                        list.RemoveItem(i);
                        removed = true;
                    }
                });
            }
        }  // 124: Next i
    }
    steps.Step(128, [&] { screen.Screen.SetMousePointer(vbDefault); });
}

}  // namespace quorvex
