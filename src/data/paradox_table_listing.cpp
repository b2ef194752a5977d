#include "data/collect_subfolders.h"
#include "data/directory_entries.h"
#include "data/find_files.h"
#include "data/path_case.h"
#include "data/table_listing.h"

namespace quorvex {

namespace {

const QString kTableExtension = QStringLiteral(".DB");

// The table name a table file stands for: upper case, without the final ".DB" only.
QString TableNameOfFile(const QString& fileName) {
    QString name = fileName.toUpper();
    if (name.endsWith(kTableExtension)) {
        name.chop(kTableExtension.size());
    }
    return name;
}

}  // namespace

void LoadParadoxTables(TableList& list, const ConnectionFields& fields) {
    const QString folderField = fields.Text1();
    if (folderField.isEmpty()) {
        return;
    }
    EncodeFolderPath(folderField);  // a text no search can take fails before any lookup
    // The folder is named ignoring case; looking it up once here spares every subfolder path
    // the same lookup.
    QStringList folders{ResolvePathIgnoringCase(folderField) + QLatin1Char('/')};
    CollectSubfolders(folders, true);
    for (const QString& folder : folders) {
        const QStringList names = FindFiles(folder.chopped(1), QStringLiteral("*.db"));
        for (const QString& name : names) {
            if (name.startsWith(QLatin1Char('~'))) {
                continue;  // the Paradox engine's temporary tables
            }
            list.AddItem(TableNameOfFile(name));
        }
    }
}

}  // namespace quorvex
