#include "data/folder/find_files.h"

#include "data/folder/directory_entries.h"
#include "data/folder/path_case.h"
#include "data/folder/wildcard.h"

#include <cerrno>

namespace quorvex {

namespace {

void CollectMatches(DirectoryReader& reader, const QString& pattern, QStringList& names) {
    QString name;
    while (reader.Next()) {
        if (!reader.IsFileLike()) {
            continue;
        }
        DecodeEntryName(reader.Name(), name);
        if (MatchesWildcard(name, pattern)) {
            names.append(name);
        }
    }
}

}  // namespace

QStringList FindFiles(const QString& folder, const QString& pattern) {
    QString searched = folder;
    if (!searched.endsWith(QLatin1Char('/'))) {
        searched += QLatin1Char('/');
    }
    QStringList names;
    DirectoryReader reader(EncodeFolderPath(searched));
    if (reader.IsOpen()) {
        CollectMatches(reader, pattern, names);
        return names;
    }
    if (reader.OpenError() == ENOENT) {
        // Folder names are matched ignoring case, as on the platform the databases come from.
        const QString resolved = ResolvePathIgnoringCase(folder);
        if (resolved != folder) {
            DirectoryReader again(EncodeFolderPath(resolved + QLatin1Char('/')));
            CollectMatches(again, pattern, names);
        }
    }
    return names;
}

}  // namespace quorvex
