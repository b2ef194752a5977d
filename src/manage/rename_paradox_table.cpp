#include "data/core/connection_strings.h"
#include "data/core/failure.h"
#include "data/folder/path_case.h"
#include "data/folder/table_subfolders.h"
#include "manage/command_support.h"
#include "manage/rename_file.h"
#include "manage/table_commands.h"
#include "manage/table_files.h"
#include "shell/command_steps.h"
#include "shell/files.h"
#include "shell/table_listing.h"

#include <QFileInfo>

#include <optional>

namespace quorvex {

namespace {

// One table's rename: where its files are and how a new file is checked for.
struct TableRename {
    QString folder;
    QString oldName;
    QString newName;
    DestinationCheck check = DestinationCheck::IgnoringCase;
    // The entry's own file where the folder holds the table under two spellings; the other
    // spelling stays, and so do the companions it shares.
    QString twinFile;
};

// Renames one spelling of the table's data file, when it exists, and then the table's companion
// files (indexes, memo and blob values, checks, settings) so the renamed table can still be read
// whole. The companions only follow once the data file was copied: after a refused copy they stay
// with the table they belong to. Each companion keeps the spelling of its own extension.
//
// `copiedBefore` is the data file the other spelling's step copied. Where both spellings name
// that one file and it could not be deleted (a locked or immutable file), it is left alone: a
// second copy would only meet the first and hide what happened. Returns the data file, as found
// on disk, when its copy was made; otherwise an empty text.
QString RenameTableFiles(Dialogs& dialogs, const TableRename& rename, const QString& extension,
                         const QString& copiedBefore) {
    const QString oldPath = rename.twinFile.isEmpty()
                                ? DataFilePath(rename.folder, rename.oldName, extension)
                                : rename.folder + QLatin1Char('/') + rename.twinFile;
    if (!FileExists(oldPath)) {
        return QString();
    }
    const QString dataFile = ResolvePathIgnoringCase(oldPath);
    if (dataFile == copiedBefore) {
        return QString();
    }
    // The new file keeps the extension as the old one spells it ("daß.db" becomes "X.db"),
    // whichever spelling found it.
    const QString ownExtension =
        QLatin1Char('.') + SplitFileName(QFileInfo(dataFile).fileName()).extension;
    if (!RenameFile(dialogs, oldPath, DataFilePath(rename.folder, rename.newName, ownExtension),
                    rename.check)) {
        return QString();
    }
    // A data file that could not be deleted (a locked or immutable file) still names the old
    // table: its companions are then copied, not moved, or the old table would lose its memo
    // values and index while it stays listed on disk.
    // The file itself is asked after, not its name ignoring case: where the folder holds the
    // other spelling too, that one still answers to the name.
    const bool oldTableStays = QFileInfo::exists(dataFile) || !rename.twinFile.isEmpty();
    for (const QString& companion : CompanionFileNames(rename.folder, rename.oldName)) {
        const QString companionExtension = QLatin1Char('.') + SplitFileName(companion).extension;
        const QString source = rename.folder + QLatin1Char('/') + companion;
        const QString destination = DataFilePath(rename.folder, rename.newName, companionExtension);
        if (oldTableStays) {
            CopyFileKeepingSource(dialogs, source, destination, rename.check);
        } else {
            RenameFile(dialogs, source, destination, rename.check);
        }
    }
    return dataFile;
}

// Whether any spelling of the table's data file is in the folder.
bool DataFileExists(const QString& folder, const QString& table) {
    return FileExists(DataFilePath(folder, table, QStringLiteral(".DB"))) ||
           FileExists(DataFilePath(folder, table, QStringLiteral(".db")));
}

}  // namespace

// Renames the one selected Paradox table's files to the name the user types, exactly as typed.
// The list follows the files: the new name is added only when a data file was renamed, and the
// old one goes only when no data file of that name is left, so a refused copy (reported by
// RenameFile) or a table listed from a subfolder (reported here, naming the subfolder, even where
// the folder holds a table of that name) leaves the list as it was.
void RenameParadoxTable(TablesScreen& screen) {
    CommandSteps steps(screen.dialogs, QStringLiteral("Form2.PushButton7_Click"));
    TableList& list = screen.List2;
    std::unique_ptr<Connection> connection;
    const FolderNamesKept folderNames;  // the folder is read once; its own changes are noted

    steps.Step(100, [&] { connection = std::make_unique<Connection>(); });
    steps.Step(102, [&] { screen.Screen.SetMousePointer(vbHourglass); });
    // Opened only to prove the folder can be reached as a database; not used further. A folder
    // that cannot be reached is reported here, and not once more for its missing table.
    const bool folderReached = steps.Step(
        104, [&] { RequireConnection(connection).Open(ParadoxConnectionString(screen.fields)); });
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
            TableRename rename;
            rename.folder = screen.fields.Text1();
            bool fromSubfolder = false;
            std::optional<QString> twinFile;
            steps.Step(114, [&] {
                rename.oldName = list.List(i);
                fromSubfolder = ListedFromSubfolder(list, i);
                twinFile = TwinFileOfEntry(list, i, rename.folder);
            });
            if (fromSubfolder) {
                // Nothing would be renamed, not even the folder's own table of that name: said
                // before a new name is asked for.
                steps.Step(120, [&] {
                    if (folderReached) {
                        TableSubfolders subfolders(rename.folder);
                        throw Failure(SubfolderEntryText(rename.oldName, subfolders));
                    }
                });
                continue;
            }
            steps.Step(116, [&] { rename.newName = AskNewName(screen.dialogs, rename.oldName); });
            if (steps.Test(118, [&] { return rename.newName.isEmpty(); })) {
                continue;  // Cancel, or an empty answer: nothing is renamed
            }
            QString copied;  // the data file the ".DB" step copied
            bool renamed = false;
            if (twinFile) {
                // One of two spellings: only its own data file is renamed, and its entry goes.
                steps.Step(120, [&] {
                    if (twinFile->isEmpty()) {
                        throw Failure(TwinFileGoneText(rename.oldName));
                    }
                    rename.twinFile = *twinFile;
                    renamed =
                        !RenameTableFiles(screen.dialogs, rename, QString(), QString()).isEmpty();
                });
                if (renamed) {
                    steps.Step(124, [&] { list.RemoveItem(i); });
                    steps.Step(126, [&] { list.AddItem(rename.newName); });
                    steps.Step(128, [&] { list.SetListIndex(0); });
                }
                continue;
            }
            steps.Step(120, [&] {
                if (!DataFileExists(rename.folder, rename.oldName)) {
                    if (folderReached) {
                        TableSubfolders subfolders(rename.folder);
                        throw Failure(MissingTableText(rename.oldName, subfolders));
                    }
                    return;
                }
                // Where the folder holds the data file under several spellings, each gets its
                // own new file: the new ".DB" file must not refuse the new ".db" one.
                if (SpellingsIgnoringCase(
                        DataFilePath(rename.folder, rename.oldName, QStringLiteral(".DB")))
                        .size() > 1) {
                    rename.check = DestinationCheck::ExactName;
                }
                copied = RenameTableFiles(screen.dialogs, rename, QStringLiteral(".DB"), QString());
                renamed = !copied.isEmpty();
            });
            steps.Step(122, [&] {
                if (!RenameTableFiles(screen.dialogs, rename, QStringLiteral(".db"), copied)
                         .isEmpty()) {
                    renamed = true;
                }
            });
            if (!renamed) {
                continue;  // no data file was renamed: the list stays as it is
            }
            steps.Step(124, [&] {
                if (!DataFileExists(rename.folder, rename.oldName)) {
                    list.RemoveItem(i);
                }
            });
            steps.Step(126, [&] { list.AddItem(rename.newName); });
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
