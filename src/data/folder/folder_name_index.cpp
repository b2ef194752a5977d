#include "data/folder/folder_name_index.h"

#include "data/folder/directory_entries.h"
#include "data/core/name_case.h"

#include <exception>

namespace quorvex {

FolderNameIndex::FolderNameIndex(const QString& folder) {
    try {
        DirectoryReader reader(EncodeFolderPath(folder + QLatin1Char('/')));
        QString name;
        while (reader.Next()) {
            if (DecodeEntryName(reader.Name(), name)) {
                spellingsByUpperCase_[UpperCaseName(name)].append(name);
            }
        }
    } catch (const std::exception&) {
        // A lookup never fails: a folder that cannot be read (fully) names what was read of it.
    }
}

QString FolderNameIndex::Find(const QString& name) const {
    const auto spellings = spellingsByUpperCase_.constFind(UpperCaseName(name));
    if (spellings == spellingsByUpperCase_.constEnd()) {
        return QString();
    }
    if (spellings->contains(name)) {
        return name;
    }
    return spellings->size() == 1 ? spellings->first() : QString();  // several: none is meant
}

QStringList FolderNameIndex::Spellings(const QString& name) const {
    return spellingsByUpperCase_.value(UpperCaseName(name));
}

void FolderNameIndex::Note(const QString& name, bool exists) {
    const QString upper = UpperCaseName(name);
    if (exists) {
        QStringList& spellings = spellingsByUpperCase_[upper];
        if (!spellings.contains(name)) {
            spellings.append(name);
        }
        return;
    }
    const auto spellings = spellingsByUpperCase_.find(upper);
    if (spellings != spellingsByUpperCase_.end()) {
        spellings->removeAll(name);
        if (spellings->isEmpty()) {
            spellingsByUpperCase_.erase(spellings);
        }
    }
}

}  // namespace quorvex
