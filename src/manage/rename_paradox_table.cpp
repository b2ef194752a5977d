#include "data/connection_strings.h"
#include "data/path_case.h"
#include "manage/command_support.h"
#include "manage/rename_file.h"
#include "manage/table_commands.h"
#include "manage/table_files.h"
#include "shell/command_steps.h"
#include "shell/files.h"

namespace quorvex {

namespace {

// Renames one spelling of the table's data file, when it exists, and then the table's companion
// files (indexes, memo and blob values, checks, settings) so the renamed table can still be read
// whole. The companions only follow once the data file was copied: after a refused copy they stay
// with the table they belong to. Each companion keeps the spelling of its own extension.
//
// `copiedBefore` is the data file the other spelling's step copied. Where both spellings name
// that one file and it could not be deleted (a locked or immutable file), it is left alone: a
// second copy would only meet the first and hide what happened. Returns the data file, as found
// on disk, when its copy was made; otherwise an empty text.
QString RenameTableFiles(Dialogs& dialogs, const QString& folder, const QString& oldName,
                         const QString& newName, const QString& extension,
                         const QString& copiedBefore) {
    const QString oldPath = DataFilePath(folder, oldName, extension);
    if (!FileExists(oldPath)) {
        return QString();
    }
    const QString dataFile = ResolvePathIgnoringCase(oldPath);
    if (dataFile == copiedBefore) {
        return QString();
    }
    if (!RenameFile(dialogs, oldPath, DataFilePath(folder, newName, extension))) {
        return QString();
    }
    // A data file that could not be deleted (a locked or immutable file) still names the old
    // table: its companions are then copied, not moved, or the old table would lose its memo
    // values and index while it stays listed on disk.
    const bool oldTableStays = FileExists(oldPath);
    for (const QString& companion : CompanionFileNames(folder, oldName)) {
        const QString companionExtension = QLatin1Char('.') + SplitFileName(companion).extension;
        const QString source = folder + QLatin1Char('/') + companion;
        const QString destination = DataFilePath(folder, newName, companionExtension);
        if (oldTableStays) {
            CopyFileKeepingSource(dialogs, source, destination);
        } else {
            RenameFile(dialogs, source, destination);
        }
    }
    return dataFile;
}

}  // namespace

// Renames the one selected Paradox table's files to the name the user types, exactly as typed.
// The list entry is replaced even when a copy was refused (RenameFile reports that); the next
// refresh shows the real state.
void RenameParadoxTable(TablesScreen& screen) {
    CommandSteps steps(screen.dialogs, QStringLiteral("Form2.PushButton7_Click"));
    TableList& list = screen.List2;
    std::unique_ptr<Connection> connection;
    const FolderNamesKept folderNames;  // the folder is read once; its own changes are noted

    steps.Step(100, [&] { connection = std::make_unique<Connection>(); });
    steps.Step(102, [&] { screen.Screen.SetMousePointer(vbHourglass); });
    // Opened only to prove the folder can be reached as a database; not used further.
    steps.Step(104,
               [&] { RequireConnection(connection).Open(ParadoxConnectionString(screen.fields)); });
    if (steps.Test(106, [&] { return list.ListIndex() == -1; })) {
        steps.Step(134, [&] {
            ShowMessage(screen.dialogs, QStringLiteral("Please select a table to rename."));
        });
    } else if (steps.Test(108, [&] { return list.SelCount() != 1; })) {
        steps.Step(132, [&] {
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
            QString copied;  // the data file the ".DB" step copied
            steps.Step(120, [&] {
                copied = RenameTableFiles(screen.dialogs, screen.fields.Text1(), oldName, newName,
                                          QStringLiteral(".DB"), QString());
            });
            steps.Step(122, [&] {
                RenameTableFiles(screen.dialogs, screen.fields.Text1(), oldName, newName,
                                 QStringLiteral(".db"), copied);
            });
            steps.Step(124, [&] { list.RemoveItem(i); });
            steps.Step(126, [&] { list.AddItem(newName); });
            steps.Step(128, [&] {
                if (list.ListCount() > 0) {
                    list.SetListIndex(0);
                }
            });
        }  // 130: Next i
    }
    steps.Step(136, [&] { screen.Screen.SetMousePointer(vbDefault); });
}

}  // namespace quorvex
