#include "cli/whole_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {

namespace {

// The mode a file created now would get: that of the file it replaces, else 0666 less the umask.
mode_t ModeFor(const QByteArray& path) {
    struct stat existing {};
    if (::stat(path.constData(), &existing) == 0) {
        return existing.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool WriteEveryByte(int descriptor, const QByteArray& bytes) {
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    QByteArray temporary = target + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return SystemReason(errno);
    }
    // mkstemp's 0600 would hide the report from others; a file system without modes may refuse.
    (void)::fchmod(descriptor, ModeFor(target));
    int error = 0;
    if (!WriteEveryByte(descriptor, bytes) || ::fsync(descriptor) != 0) {
        error = errno;
    }
    // A network or quota file system may tell of a failed write only at close.
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
        return SystemReason(error);
    }
    // The rename itself reaches the disk with its folder.
    if (const int folderDescriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
        folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return QString();
}

}  // namespace quorvex
