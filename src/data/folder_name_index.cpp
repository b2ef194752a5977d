#include "data/folder_name_index.h"

#include "data/directory_entries.h"

#include <exception>

namespace quorvex {

QString FoldedName(QStringView name) {
    // Code point by code point, with the simple folding QString's case-insensitive compare
    // uses (QString::toCaseFolded may turn one letter into several).
    QString folded;
    folded.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t code = name[i].unicode();
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        const char32_t foldedCode = QChar::toCaseFolded(code);
        if (QChar::requiresSurrogates(foldedCode)) {
            folded.append(QChar(QChar::highSurrogate(foldedCode)));
            folded.append(QChar(QChar::lowSurrogate(foldedCode)));
        } else {
            folded.append(QChar(static_cast<char16_t>(foldedCode)));
        }
    }
    return folded;
}

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
