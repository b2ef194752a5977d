#include "data/folder/directory_entries.h"

#include "data/core/failure.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>
#include <cstring>

namespace quorvex {

namespace {

bool IsAscii(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Errors that mean "there is nothing to list here" rather than a failure of the search.
bool MeansNothingToList(int error) {
    return error == ENOENT || error == ENOTDIR || error == EACCES || error == EPERM;
}

}  // namespace

QByteArray EncodeFolderPath(const QString& folder) {
    if (folder.contains(QChar(u'\0'))) {
        throw Failure(QStringLiteral("Bad file name or number"));
    }
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray bytes = encoder.encode(folder);
    if (encoder.hasError()) {
        throw Failure(QStringLiteral("Bad file name or number"));
    }
    return bytes;
}

bool DecodeEntryName(const char* name, QString& decoded) {
    const std::size_t length = std::strlen(name);
    if (IsAscii(name, length)) {
        decoded = QString::fromLatin1(name, static_cast<qsizetype>(length));
        return true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    decoded = decoder.decode(QByteArrayView(name, static_cast<qsizetype>(length)));
    if (!decoder.hasError()) {
        return true;
    }
    decoded.replace(QChar(QChar::ReplacementCharacter), QLatin1Char('?'));
    return false;
}

QString PathFailureText(int error, const QByteArray& path) {
    return QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral(": ") +
           QFile::decodeName(path);
}

DirectoryReader::DirectoryReader(const QByteArray& path) : path_(path) {
    dir_ = ::opendir(path_.constData());
    if (dir_ == nullptr) {
        openError_ = errno;
        if (!MeansNothingToList(openError_)) {
            throw Failure(PathFailureText(openError_, path_));
        }
    }
}

DirectoryReader::~DirectoryReader() {
    if (dir_ != nullptr) {
        ::closedir(dir_);
    }
}

bool DirectoryReader::Next() {
    if (dir_ == nullptr) {
        return false;
    }
    for (;;) {
        errno = 0;
        entry_ = ::readdir(dir_);
        if (entry_ == nullptr) {
            if (errno != 0) {
                throw Failure(PathFailureText(errno, path_));
            }
            return false;
        }
        const char* name = entry_->d_name;
        const bool dotOrDotDot =
            name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
        if (!dotOrDotDot) {
            return true;
        }
    }
}

EntryKind DirectoryReader::Kind() const {
    unsigned char type = entry_->d_type;
    if (type == DT_UNKNOWN) {
        // Some file systems leave the type out of the listing; ask without following links.
        struct stat info {};
        if (::fstatat(::dirfd(dir_), entry_->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            return EntryKind::Other;  // vanished meanwhile
        }
        if (S_ISREG(info.st_mode)) {
            return EntryKind::File;
        }
        if (S_ISDIR(info.st_mode)) {
            return EntryKind::Folder;
        }
        return S_ISLNK(info.st_mode) ? EntryKind::Link : EntryKind::Other;
    }
    switch (type) {
        case DT_REG:
            return EntryKind::File;
        case DT_DIR:
            return EntryKind::Folder;
        case DT_LNK:
            return EntryKind::Link;
        default:
            return EntryKind::Other;
    }
}

bool DirectoryReader::LinkLeadsToFile() const {
    struct stat info {};
    return ::fstatat(::dirfd(dir_), entry_->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryReader::IsFileLike() const {
    const EntryKind kind = Kind();
    return kind == EntryKind::File || (kind == EntryKind::Link && LinkLeadsToFile());
}

bool DirectoryReader::Identity(dev_t& device, ino_t& inode) const {
    struct stat info {};
    if (dir_ == nullptr || ::fstat(::dirfd(dir_), &info) != 0) {
        return false;
    }
    device = info.st_dev;
    inode = info.st_ino;
    return true;
}

}  // namespace quorvex
