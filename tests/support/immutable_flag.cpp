#include "support/immutable_flag.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::test {

bool SetImmutableFlag(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

ReadOnlyFolder::ReadOnlyFolder(const QString& path) : path_(path) {
    immutable_ = SetImmutable(true);
    if (!immutable_ && ::geteuid() != 0) {
        chmodded_ = ::chmod(QFile::encodeName(path_).constData(), 0555) == 0;
    }
    // Proof: a new entry must be refused.
    const QByteArray probe = QFile::encodeName(path_ + QStringLiteral("/probe"));
    const int fd = ::open(probe.constData(), O_CREAT | O_WRONLY, 0644);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.constData());
        readOnly_ = false;
    } else {
        reason_ = QString::fromLocal8Bit(std::strerror(errno));
        readOnly_ = true;
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (immutable_) {
        SetImmutable(false);
    }
    if (chmodded_) {
        ::chmod(QFile::encodeName(path_).constData(), 0755);
    }
}

bool ReadOnlyFolder::SetImmutable(bool on) { return SetImmutableFlag(path_, on); }

}  // namespace quorvex::test
