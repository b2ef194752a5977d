#pragma once

#include "cli/memory_table_list.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quorvex {

// One Paradox table of the folder tree, as the tables screen lists it.
struct FolderTable {
    QString subfolder;   // below the folder, "/" between names; empty for the folder itself
    QString name;        // the table name the lists show
    QString sourceFile;  // the table file's absolute path
    // Its file's name where the same folder holds another file of the table's name (T.DB beside
    // T.db); empty otherwise.
    QString twinFile;
};

// The Paradox tables of the folder a command line works on. The tables screen lists those of
// its subfolders too, but a send reads the folder itself only: `send` sends the folder's own
// tables and names the others with the folder to give for them.
class FolderTables {
  public:
    // Reads the folder and all its subfolders as the tables screen's listing does; failures
    // raise Failure.
    explicit FolderTables(const QString& folderField);

    // Every table name, as the tables screen's Paradox list holds them.
    void FillList(MemoryTableList& list) const;

    // The folder's own tables, one per name (a second file whose name differs only in case is
    // the same table to the driver), in the list's order.
    const std::vector<FolderTable>& Own() const { return own_; }
    // The folder's own table files: Own(), with each table held by two files (twinFile) once
    // for each.
    std::vector<FolderTable> OwnFiles() const;
    // The tables of its subfolders, in the list's order.
    const std::vector<FolderTable>& InSubfolders() const { return inSubfolders_; }

    // The folder's own table of that name, ignoring case; nullptr when there is none.
    const FolderTable* FindOwn(const QString& name) const;
    // The first subfolder table of that name, ignoring case; nullptr when there is none.
    const FolderTable* FindInSubfolder(const QString& name) const;

    // "Archive/ORDERS98": the table's name with its subfolder below the folder.
    static QString RelativeName(const FolderTable& table);
    // "in a subfolder, not sent; send it with --folder /data/Archive", for the command named
    // ("send", "verify").
    QString SubfolderHint(const FolderTable& table, const QString& command) const;

    // The folder's own tables the names stand for (ignoring case, as table files are found), each
    // once, in the list's order; all of them when no name is given. A name that stands for none
    // of them gives the one line to end the run with (a name only a subfolder holds, with the
    // --folder to give for it), before anything is changed; `command` names the command in it.
    //
    // A table the folder holds in two files (T.DB and T.db) is refused by its name, which would
    // read the rows of one file under the other's name: it is chosen by its file's name exactly
    // as spelled ("T.db"), and Own() and ReadName then stand for that file.
    std::optional<QString> ChooseTables(const QStringList& names, const QString& folderField,
                                        const QString& command, QStringList& chosen);

    // What a statement reading the folder's own table names: the chosen file's name for a table
    // held in two files, otherwise the table name.
    QString ReadName(const QString& table) const;

  private:
    std::optional<QString> TwinRefusal(const QString& table, const QString& command) const;
    // Chooses the table file named exactly `fileName` when it is one of two spellings (true);
    // false when the other file of its table was chosen already; nullopt for any other name.
    std::optional<bool> PickTwin(const QString& fileName, QStringList& chosen);

    QString folder_;  // absolute, as found on disk
    std::vector<FolderTable> all_;
    std::vector<FolderTable> own_;
    std::vector<FolderTable> inSubfolders_;
    // Where the first table of each name (UpperCaseName) is in own_ and in inSubfolders_: a folder
    // of a hundred thousand tables is looked up by name as often as it holds tables.
    QHash<QString, std::size_t> ownByName_;
    QHash<QString, std::size_t> inSubfoldersByName_;
    // Every file of each table name (UpperCaseName) the folder holds in more than one.
    QHash<QString, std::vector<FolderTable>> twins_;
};

// Quotes a path for a shell when it holds anything but letters, digits and "/._-".
QString ShellWord(const QString& text);

}  // namespace quorvex
