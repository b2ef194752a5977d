#include "data/folder/paradox_table_walk.h"

#include "data/core/event_pump.h"
#include "data/core/name_case.h"
#include "data/folder/collect_subfolders.h"
#include "data/folder/directory_entries.h"
#include "data/folder/find_files.h"
#include "data/folder/path_case.h"
#include "data/folder/wildcard.h"

#include <QHash>

namespace quorvex {

namespace {

const QString kTablePattern = QStringLiteral("*.db");
const QString kTableExtension = QStringLiteral(".DB");

// Keeps the table files the walk saw in each folder it read. The files of a folder are those a
// search of it would return, in the same order, so the listing need not read every folder of a
// large tree a second time.
class TableFilesSeen : public FolderReadObserver {
  public:
    void FolderRead(const QString& folder) override { current_ = &byFolder_[folder]; }
    void FileInFolder(const QString& fileName) override {
        if (MatchesWildcard(fileName, kTablePattern)) {
            current_->append(fileName);
        }
    }

    // The table files of a folder in the list; a folder the walk did not read (one met twice)
    // is searched now.
    QStringList TableFiles(const QString& folder) const {
        const auto seen = byFolder_.constFind(folder);
        if (seen != byFolder_.constEnd()) {
            return *seen;
        }
        return FindFiles(folder.chopped(1), kTablePattern);
    }

  private:
    QHash<QString, QStringList> byFolder_;
    QStringList* current_ = nullptr;
};

}  // namespace

QString TableNameOfFile(const QString& fileName) {
    QString name = UpperCaseName(fileName);
    if (name.endsWith(kTableExtension)) {
        name.chop(kTableExtension.size());
    }
    return name;
}

void ForEachParadoxTable(const QString& folder, const ParadoxTableVisitor& visit) {
    EncodeFolderPath(folder);  // a text no search can take fails before any lookup
    // The folder is named ignoring case; looking it up once here spares every subfolder path
    // the same lookup.
    const QString top = ResolvePathIgnoringCase(folder) + QLatin1Char('/');
    QStringList folders{top};
    TableFilesSeen seen;
    CollectSubfolders(folders, true, seen);
    EventPump pump;  // a hundred thousand entries take a while to add
    for (const QString& found : folders) {
        const QString subfolder = found == top ? QString() : found.mid(top.size()).chopped(1);
        // Where letter case tells files apart, one folder may hold a table under two spellings.
        QHash<QString, int> filesOfTable;
        QStringList tables;
        const QStringList files = seen.TableFiles(found);
        for (const QString& name : files) {
            tables.append(name.startsWith(QLatin1Char('~')) ? QString() : TableNameOfFile(name));
            ++filesOfTable[tables.last()];
        }
        for (qsizetype i = 0; i < files.size(); ++i) {
            pump.Pump();
            if (tables[i].isEmpty()) {
                continue;  // the Paradox engine's temporary tables
            }
            visit(subfolder, tables[i], filesOfTable.value(tables[i]) > 1 ? files[i] : QString());
        }
    }
}

}  // namespace quorvex
