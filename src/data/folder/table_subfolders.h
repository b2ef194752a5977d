#pragma once

#include <QHash>
#include <QString>

namespace quorvex {

// Where a listed Paradox table is when its data file is not in the Paradox folder itself. The
// listing walks every subfolder, while the commands act on the folder's own files only: a command
// that cannot find a listed table's file asks here which subfolder the name came from, so that it
// can say so. The tree is walked once, at the first question, however many tables are asked
// about; the answers stand for the rest of the command.
class TableSubfolders {
  public:
    explicit TableSubfolders(QString folder) : folder_(std::move(folder)) {}

    // The first subfolder, in listing order, that holds a table listed as `table` (compared in
    // upper case, as listed), relative to the Paradox folder with "/" between its names; empty
    // when no subfolder holds one or the tree cannot be read.
    QString Of(const QString& table);

    const QString& folder() const { return folder_; }

  private:
    QString folder_;
    bool walked_ = false;
    QHash<QString, QString> subfolderByTable_;
};

// Why the Paradox folder has no data file for the listed table `table`, as a failure report
// says it: its data file is spelled in several ways that differ only in letter case (none as
// listed), or the listing found it in a subfolder, or there is no such file at all.
QString MissingTableText(const QString& table, TableSubfolders& subfolders);

// The same, briefly, for one line of a list of tables.
QString MissingTableReason(const QString& table, TableSubfolders& subfolders);

// Why nothing is done with an entry listed from a subfolder (kListedFromSubfolder), as a failure
// report says it; true also where the folder itself holds a table of that name.
QString SubfolderEntryText(const QString& table, TableSubfolders& subfolders);

// The same, briefly, for one line of a list of tables that were not deleted.
QString SubfolderEntryReason(const QString& table, TableSubfolders& subfolders);

}  // namespace quorvex
