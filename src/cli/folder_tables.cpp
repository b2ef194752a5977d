#include "cli/folder_tables.h"

#include "data/path_case.h"
#include "data/table_name_order.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace quorvex {

namespace {

const ParadoxTableFile* FindByName(const std::vector<ParadoxTableFile>& tables,
                                   const QString& name) {
    const auto found = std::find_if(tables.begin(), tables.end(), [&](const auto& table) {
        return table.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    return found == tables.end() ? nullptr : &*found;
}

void SortAsListed(std::vector<ParadoxTableFile>& tables) {
    std::stable_sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) {
        return CompareTableNames(a.name, b.name) < 0;
    });
}

}  // namespace

FolderTables::FolderTables(const QString& folderField)
    : folder_(ResolvePathIgnoringCase(folderField) + u'/'),
      all_(FindParadoxTableFiles(folderField)) {
    for (const ParadoxTableFile& table : all_) {
        if (table.folder != folder_) {
            inSubfolders_.push_back(table);
        } else if (FindOwn(table.name) == nullptr) {
            own_.push_back(table);
        }
    }
    SortAsListed(own_);
    SortAsListed(inSubfolders_);
}

void FolderTables::FillList(MemoryTableList& list) const {
    for (const ParadoxTableFile& table : all_) {
        list.AddItem(table.name);
    }
}

const ParadoxTableFile* FolderTables::FindOwn(const QString& name) const {
    return FindByName(own_, name);
}

const ParadoxTableFile* FolderTables::FindInSubfolder(const QString& name) const {
    return FindByName(inSubfolders_, name);
}

QString FolderTables::RelativeName(const ParadoxTableFile& table) const {
    return table.folder.mid(folder_.size()) + table.name;
}

QString FolderTables::SubfolderHint(const ParadoxTableFile& table) {
    return QStringLiteral("in a subfolder, not sent; send it with --folder %1")
        .arg(ShellWord(QDir::cleanPath(QFileInfo(table.folder).absoluteFilePath())));
}

QString FolderTables::SourceFile(const ParadoxTableFile& table) {
    return QDir::cleanPath(QFileInfo(table.folder + table.file).absoluteFilePath());
}

QString ShellWord(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9/._-]+$"));
    if (plain.match(text).hasMatch()) {
        return text;
    }
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

}  // namespace quorvex
