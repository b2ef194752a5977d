#include "shell/files.h"

#include "data/core/failure.h"
#include "data/folder/path_case.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace quorvex {

namespace {

// Deletes the file the path names ignoring case. Returns the platform's reason when a file stays,
// or an empty text.
QString DeleteFileIgnoringCase(const QString& path) {
    const QString actual = ExistingPathIgnoringCase(path);
    if (actual.isEmpty() || QFileInfo(actual).isDir()) {
        return QString();  // only files are deleted
    }
    QFile file(actual);
    if (file.remove()) {
        NoteEntryChanged(actual, false);
        return QString();
    }
    return file.errorString() + QStringLiteral(": ") + actual;
}

}  // namespace

bool FileExists(const QString& path) {
    const QByteArray actual = QFile::encodeName(ExistingPathIgnoringCase(path));
    struct stat info {};
    if (actual.isEmpty() || actual.contains('\0') || ::stat(actual.constData(), &info) != 0) {
        return false;
    }
    // Read as universal time: the local time zone would only cost a look at its file.
    return QDateTime::fromSecsSinceEpoch(info.st_mtim.tv_sec, Qt::UTC).isValid();
}

void DeleteFileQuietly(const QString& path) { DeleteFileIgnoringCase(path); }

void DeleteFileOrFail(const QString& path) {
    const QString reason = DeleteFileIgnoringCase(path);
    if (!reason.isEmpty()) {
        throw Failure(reason);
    }
}

}  // namespace quorvex
