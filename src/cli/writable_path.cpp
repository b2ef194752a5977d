#include "cli/writable_path.h"

#include "cli/whole_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <unistd.h>

namespace quorvex {

namespace {

// Empty when the path may be written so; else the system's reason (a read-only file system is
// not a permission).
QString WhyNot(const QString& path, int mode) {
    return ::access(QFile::encodeName(path).constData(), mode) == 0 ? QString()
                                                                    : SystemReason(errno);
}

}  // namespace

QString WhyNotWritable(const QString& path) {
    const QFileInfo file(path);
    if (file.isDir()) {
        return QStringLiteral("%1 is a folder; give a file name").arg(path);
    }
    if (const QString why = file.exists() ? WhyNot(path, W_OK) : QString(); !why.isEmpty()) {
        return QStringLiteral("%1 cannot be written (%2)").arg(path, why);
    }
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        return QStringLiteral("the folder %1 does not exist").arg(folder);
    }
    // The report is written through a new file beside it, then renamed into place.
    if (const QString why = WhyNot(folder, W_OK | X_OK); !why.isEmpty()) {
        return QStringLiteral("the folder %1 cannot be written (%2)").arg(folder, why);
    }
    return QString();
}

}  // namespace quorvex
