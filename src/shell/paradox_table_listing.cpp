#include "shell/table_listing.h"

namespace quorvex {

void LoadParadoxTables(TableList& list, const ConnectionFields& fields) {
    const QString folderField = fields.Text1();
    if (folderField.isEmpty()) {
        return;
    }
    ForEachParadoxTable(folderField, [&list](const QString& subfolder, const QString& table) {
        AddParadoxTable(list, subfolder, table);
    });
}

bool ListedFromSubfolder(const TableList& list, int index) {
    return list.ItemData(index) == kListedFromSubfolder;
}

void AddParadoxTable(TableList& list, const QString& subfolder, const QString& table) {
    list.AddItem(table);
    if (!subfolder.isEmpty()) {
        list.SetItemData(list.NewIndex(), kListedFromSubfolder);
    }
}

}  // namespace quorvex
