#include "cli/writable_path.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace quorvex {

namespace {

bool MayWrite(const QString& path, int mode) {
    return ::access(QFile::encodeName(path).constData(), mode) == 0;
}

}  // namespace

QString WhyNotWritable(const QString& path) {
    const QFileInfo file(path);
    if (file.isDir()) {
        return QStringLiteral("%1 is a folder; give a file name").arg(path);
    }
    if (file.exists() && !MayWrite(path, W_OK)) {
        return QStringLiteral("%1 cannot be written (permission denied)").arg(path);
    }
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        return QStringLiteral("the folder %1 does not exist").arg(folder);
    }
    // The report is written through a new file beside it, then renamed into place.
    if (!MayWrite(folder, W_OK | X_OK)) {
        return QStringLiteral("the folder %1 cannot be written (permission denied)").arg(folder);
    }
    return QString();
}

}  // namespace quorvex
