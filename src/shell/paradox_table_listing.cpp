#include "shell/table_listing.h"

#include "data/folder/path_case.h"

#include <QHash>

#include <cstddef>
#include <limits>

namespace quorvex {

namespace {

const QString kTableExtension = QStringLiteral(".DB");

}  // namespace

void LoadParadoxTables(TableList& list, const ConnectionFields& fields) {
    const QString folderField = fields.Text1();
    if (folderField.isEmpty()) {
        return;
    }
    ForEachParadoxTable(folderField, [&list](const QString& subfolder, const QString& table,
                                             const QString& twinFile) {
        AddParadoxTable(list, subfolder, table, twinFile);
    });
}

bool ListedFromSubfolder(const TableList& list, int index) {
    return list.ItemData(index) == kListedFromSubfolder;
}

void AddParadoxTable(TableList& list, const QString& subfolder, const QString& table,
                     const QString& twinFile) {
    list.AddItem(table);
    if (!subfolder.isEmpty()) {
        list.SetItemData(list.NewIndex(), kListedFromSubfolder);
        list.SetItemTip(list.NewIndex(),
                        QStringLiteral("In the subfolder \"%1\": only the folder's own tables are "
                                       "sent, deleted or renamed")
                            .arg(subfolder));
    } else if (!twinFile.isEmpty()) {
        list.SetItemData(list.NewIndex(), TwinFileMark(twinFile));
        list.SetItemTip(list.NewIndex(), QStringLiteral("The file \"%1\"").arg(twinFile));
    }
}

int TwinFileMark(const QString& fileName) {
    // Any number from kFirstTwinFileMark up; two spellings of one name all but never share one.
    constexpr auto kMarks =
        static_cast<std::size_t>(std::numeric_limits<int>::max() - kFirstTwinFileMark);
    return kFirstTwinFileMark + static_cast<int>(qHash(fileName, 0) % kMarks);
}

std::optional<QString> TwinFileOfEntry(const TableList& list, int index, const QString& folder) {
    const int mark = list.ItemData(index);
    if (mark < kFirstTwinFileMark) {
        return std::nullopt;
    }
    const QStringList spellings =
        SpellingsIgnoringCase(folder + QLatin1Char('/') + list.List(index) + kTableExtension);
    for (const QString& spelling : spellings) {
        if (TwinFileMark(spelling) == mark) {
            return spelling;
        }
    }
    return QString();
}

QString TwinFileGoneText(const QString& table) {
    return QStringLiteral(
               "The file of the entry \"%1\" is no longer in the Paradox folder: nothing was done "
               "with it.")
        .arg(table);
}

}  // namespace quorvex
