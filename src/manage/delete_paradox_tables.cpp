#include "data/core/event_pump.h"
#include "data/core/failure.h"
#include "data/folder/path_case.h"
#include "data/folder/table_subfolders.h"
#include "manage/command_support.h"
#include "manage/table_commands.h"
#include "manage/table_files.h"
#include "manage/undeleted_tables.h"
#include "shell/command_steps.h"
#include "shell/files.h"
#include "shell/table_listing.h"

#include <QFileInfo>

#include <optional>

namespace quorvex {

namespace {

// Deletes one data file the path names, returning why it stays (empty when it went).
QString DeleteDataFile(const QString& path) {
    if (const QString actual = ResolvePathIgnoringCase(path); QFileInfo(actual).isDir()) {
        return QStringLiteral("%1 is a folder, not a table file").arg(actual);
    }
    try {
        DeleteFileOrFail(path);
    } catch (const std::exception& failure) {
        return CommandSteps::Describe(failure);
    }
    return QString();
}

// Deletes the data file of an entry of one of two spellings, returning why it stays.
QString DeleteTwinFile(const QString& folder, const QString& file) {
    if (file.isEmpty()) {
        return QStringLiteral("its file is no longer in the Paradox folder");
    }
    const QString path = ResolvePathIgnoringCase(folder) + QLatin1Char('/') + file;
    const QString reason = DeleteDataFile(path);
    return reason.isEmpty() && QFileInfo::exists(path) ? QStringLiteral("%1 stays").arg(path)
                                                       : reason;
}

}  // namespace

// Deletes the data file of every selected Paradox table directly in the folder, trying the ".DB"
// spelling and then the ".db" one. File names match ignoring case, so when the first spelling
// found the file the second finds nothing once it is gone. The table's other files stay.
//
// An entry leaves the list only when no data file of its name is left in the folder: a file that
// could not be deleted (read-only folder, file in use) keeps its entry, so a failed delete never
// looks done. The entries that stay are named, each with its reason, in one report at the end of
// the walk, whatever their number: a table listed from a subfolder (the commands act on the
// folder's own files only) is named with that subfolder, and its entry never deletes the
// folder's own table of the same name. Where the folder holds a table in two files (T.DB and
// T.db), each entry deletes its own file only.
//
// Every table is looked up in the same folder: its names are read once for the whole command,
// and pending window events run now and then so the window repaints while thousands go.
void DeleteParadoxTables(TablesScreen& screen) {
    CommandSteps steps(screen.dialogs, QStringLiteral("Form2.PushButton5_Click"));
    TableList& list = screen.List2;
    const FolderNamesKept folderNames;
    // Every path is built on the folder the command started on.
    const QString folder = screen.fields.Text1();
    TableSubfolders subfolders(folder);
    UndeletedTables notDeleted;
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
            bool fromSubfolder = false;
            std::optional<QString> twinFile;
            if (!steps.Test(106, [&] {
                    if (!list.Selected(i)) {
                        return false;
                    }
                    name = list.List(i);
                    fromSubfolder = ListedFromSubfolder(list, i);
                    twinFile = TwinFileOfEntry(list, i, folder);
                    return true;
                })) {
                continue;
            }
            if (fromSubfolder) {
                // Its namesake in the folder, if any, is an entry of its own.
                notDeleted.Add(name, SubfolderEntryReason(name, subfolders));
                continue;
            }
            if (twinFile) {
                // One of two spellings: its own file goes, and the other's entry stays.
                if (const QString reason = DeleteTwinFile(folder, *twinFile); reason.isEmpty()) {
                    steps.Step(114, [&] { list.RemoveItem(i); });
                } else {
                    notDeleted.Add(name, reason);
                }
                continue;
            }
            const QString upperPath = DataFilePath(folder, name, QStringLiteral(".DB"));
            const QString lowerPath = DataFilePath(folder, name, QStringLiteral(".db"));
            bool removed = false;
            QString reason;  // why a data file stays
            // Removes the entry once no spelling of its data file is left.
            const auto removeWhenGone = [&] {
                if (!removed && !FileExists(upperPath) && !FileExists(lowerPath)) {
                    list.RemoveItem(i);
                    removed = true;
                }
            };
            QString path;
            steps.Step(108, [&] { path = upperPath; });
            if (steps.Test(110, [&] { return FileExists(path); })) {
                steps.Step(112, [&] { reason = DeleteDataFile(path); });
                steps.Step(114, removeWhenGone);
            }
            steps.Step(116, [&] { path = lowerPath; });
            if (steps.Test(118, [&] { return FileExists(path); })) {
                steps.Step(120, [&] {
                    const QString lowerReason = DeleteDataFile(path);
                    reason = lowerReason.isEmpty() ? reason : lowerReason;
                });
                steps.Step(122, removeWhenGone);
            }
            if (!removed) {
                // A data file that refused to go says why; otherwise the folder holds none of that
                // name.
                notDeleted.Add(name,
                               reason.isEmpty() ? MissingTableReason(name, subfolders) : reason);
            }
        }  // 124: Next i
        if (!notDeleted.IsEmpty()) {
            steps.Report(124, Failure(notDeleted.Text()));
        }
    }
    steps.Step(128, [&] { screen.Screen.SetMousePointer(vbDefault); });
}

}  // namespace quorvex
