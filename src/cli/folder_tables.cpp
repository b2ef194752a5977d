#include "cli/folder_tables.h"

#include "data/core/name_case.h"
#include "data/folder/path_case.h"
#include "shell/table_listing.h"
#include "data/core/table_name_order.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace quorvex {

namespace {

// Typed names match as the folder's files do, ignoring case letter by letter ("ıs" is the listed
// IS, "straße" the listed STRAßE): by their upper-case forms (UpperCaseName).
const FolderTable* FindByName(const std::vector<FolderTable>& tables,
                              const QHash<QString, std::size_t>& byName, const QString& name) {
    const auto found = byName.constFind(UpperCaseName(name));
    return found == byName.constEnd() ? nullptr : &tables[*found];
}

// Sorts the tables as the lists show them and indexes the first of each name.
void SortAsListed(std::vector<FolderTable>& tables, QHash<QString, std::size_t>& byName) {
    std::stable_sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) {
        return CompareTableNames(a.name, b.name) < 0;
    });
    byName.reserve(static_cast<qsizetype>(tables.size()));
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const QString upper = UpperCaseName(tables[i].name);
        if (!byName.contains(upper)) {
            byName.insert(upper, i);
        }
    }
}

}  // namespace

FolderTables::FolderTables(const QString& folderField)
    : folder_(QDir::cleanPath(QFileInfo(ResolvePathIgnoringCase(folderField)).absoluteFilePath())) {
    if (folderField.isEmpty()) {
        return;
    }
    // Each table file is looked up in its folder: every folder is read once, not once a table.
    const FolderNamesKept folderNames;
    ForEachParadoxTable(folderField, [this](const QString& subfolder, const QString& name) {
        const QString inFolder = subfolder.isEmpty() ? folder_ : folder_ + u'/' + subfolder;
        // The table name leads back to its file, found ignoring case as the driver finds it.
        all_.push_back({subfolder, name,
                        ResolvePathIgnoringCase(inFolder + u'/' + name + QStringLiteral(".DB"))});
    });
    QSet<QString> ownNames;
    for (const FolderTable& table : all_) {
        if (!table.subfolder.isEmpty()) {
            inSubfolders_.push_back(table);
            continue;
        }
        const QString upper = UpperCaseName(table.name);
        if (!ownNames.contains(upper)) {
            ownNames.insert(upper);
            own_.push_back(table);
        }
    }
    SortAsListed(own_, ownByName_);
    SortAsListed(inSubfolders_, inSubfoldersByName_);
}

void FolderTables::FillList(MemoryTableList& list) const {
    for (const FolderTable& table : all_) {
        AddParadoxTable(list, table.subfolder, table.name);
    }
}

const FolderTable* FolderTables::FindOwn(const QString& name) const {
    return FindByName(own_, ownByName_, name);
}

const FolderTable* FolderTables::FindInSubfolder(const QString& name) const {
    return FindByName(inSubfolders_, inSubfoldersByName_, name);
}

QString FolderTables::RelativeName(const FolderTable& table) {
    return table.subfolder.isEmpty() ? table.name : table.subfolder + u'/' + table.name;
}

QString FolderTables::SubfolderHint(const FolderTable& table, const QString& command) const {
    const QString done =
        command == QLatin1String("send") ? QStringLiteral("sent") : QStringLiteral("verified");
    return QStringLiteral("in a subfolder, not %1; %2 it with --folder %3")
        .arg(done, command, ShellWord(folder_ + u'/' + table.subfolder));
}

std::optional<QString> FolderTables::ChooseTables(const QStringList& names,
                                                  const QString& folderField,
                                                  const QString& command,
                                                  QStringList& chosen) const {
    if (names.isEmpty()) {
        for (const FolderTable& table : own_) {
            chosen.append(table.name);
        }
        return std::nullopt;
    }
    for (const QString& name : names) {
        if (const FolderTable* own = FindOwn(name)) {
            if (!chosen.contains(own->name)) {
                chosen.append(own->name);
            }
        } else if (const FolderTable* below = FindInSubfolder(name)) {
            return QStringLiteral("%1 is %2")
                .arg(RelativeName(*below), SubfolderHint(*below, command));
        } else {
            return QStringLiteral("no Paradox table named %1 in %2.").arg(name, folderField);
        }
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const QString& a, const QString& b) { return CompareTableNames(a, b) < 0; });
    return std::nullopt;
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
