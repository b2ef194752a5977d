#include "shell/files.h"

#include "data/path_case.h"

#include <QFile>
#include <QFileInfo>

namespace quorvex {

bool FileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(ResolvePathIgnoringCase(path));
    return info.exists() && info.lastModified().isValid();
}

void DeleteFileQuietly(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    const QString actual = ResolvePathIgnoringCase(path);
    if (QFileInfo(actual).isDir()) {
        return;  // only files are deleted
    }
    QFile::remove(actual);
}

}  // namespace quorvex
