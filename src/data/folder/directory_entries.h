#pragma once

#include <QByteArray>
#include <QString>

#include <dirent.h>

namespace quorvex {

// What a directory entry is, as far as the listings care. A symbolic link is reported as such,
// not as what it points to: the folder walk never enters folders through links.
enum class EntryKind { File, Folder, Link, Other };

// The bytes the file system takes for a folder text. Raises Failure when the text cannot name
// a file at all (a NUL character, or text that has no form in the file system's encoding).
QByteArray EncodeFolderPath(const QString& folder);

// A name read from the file system as text. Returns false when its bytes are not valid text in
// the file system's encoding; `decoded` then shows each undecodable part as "?", the way the
// directory search of the platform the databases come from shows names it cannot represent.
bool DecodeEntryName(const char* name, QString& decoded);

// The entries of one folder in the order the directory gives them, "." and ".." left out.
// Missing, non-folder and unreadable folders read as empty; any other failure to open or read
// raises Failure with the platform's message.
class DirectoryReader {
  public:
    explicit DirectoryReader(const QByteArray& path);
    ~DirectoryReader();
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;

    bool IsOpen() const { return dir_ != nullptr; }
    // Why the folder reads as empty (ENOENT, ENOTDIR, EACCES, EPERM); 0 when it is open.
    int OpenError() const { return openError_; }

    // Moves to the next entry; false at the end. The name stays valid until the next call.
    bool Next();
    const char* Name() const { return entry_->d_name; }
    EntryKind Kind() const;
    // For a link: whether it leads to an ordinary file (false for a dangling link).
    bool LinkLeadsToFile() const;
    // An ordinary file or a link to one: what a file search returns. Folders are not files, and
    // anything else (a pipe, a device) could hang whoever opens it.
    bool IsFileLike() const;
    // The file-system identity of the open folder itself (device and inode).
    bool Identity(dev_t& device, ino_t& inode) const;

  private:
    QByteArray path_;
    DIR* dir_ = nullptr;
    dirent* entry_ = nullptr;
    int openError_ = 0;
};

// The platform's description of a failed call on a path, for Failure.
QString PathFailureText(int error, const QByteArray& path);

}  // namespace quorvex
