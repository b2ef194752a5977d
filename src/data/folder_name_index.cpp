#include "data/folder_name_index.h"

#include "data/directory_entries.h"
#include "data/name_case.h"

#include <exception>

namespace quorvex {

QString FoldedName(QStringView name) { return UpperCaseName(name); }

FolderNameIndex::FolderNameIndex(const QString& folder) {
    try {
        DirectoryReader reader(EncodeFolderPath(folder + QLatin1Char('/')));
        QString name;
        while (reader.Next()) {
            if (DecodeEntryName(reader.Name(), name)) {
                spellingsByFoldedName_[FoldedName(name)].append(name);
            }
        }
    } catch (const std::exception&) {
        // A lookup never fails: a folder that cannot be read (fully) names what was read of it.
    }
}

QString FolderNameIndex::Find(const QString& name) const {
    const auto spellings = spellingsByFoldedName_.constFind(FoldedName(name));
    if (spellings == spellingsByFoldedName_.constEnd()) {
        return QString();
    }
    if (spellings->contains(name)) {
        return name;
    }
    return spellings->size() == 1 ? spellings->first() : QString();  // several: none is meant
}

QStringList FolderNameIndex::Spellings(const QString& name) const {
    return spellingsByFoldedName_.value(FoldedName(name));
}

void FolderNameIndex::Note(const QString& name, bool exists) {
    const QString folded = FoldedName(name);
    if (exists) {
        QStringList& spellings = spellingsByFoldedName_[folded];
        if (!spellings.contains(name)) {
            spellings.append(name);
        }
        return;
    }
    const auto spellings = spellingsByFoldedName_.find(folded);
    if (spellings != spellingsByFoldedName_.end()) {
        spellings->removeAll(name);
        if (spellings->isEmpty()) {
            spellingsByFoldedName_.erase(spellings);
        }
    }
}

}  // namespace quorvex
