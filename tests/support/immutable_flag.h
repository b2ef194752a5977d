#pragma once

#include <QString>

namespace quorvex::test {

// Sets or clears the file system's immutable flag on a file or folder (what `chattr +i` does).
// Even root cannot change or delete an immutable entry, so tests that run as root use it to make
// a read-only file or folder. Returns false where the file system or the caller cannot set it.
bool SetImmutableFlag(const QString& path, bool on);

// Makes a folder refuse to have entries added or removed, for as long as the object lives. Tests
// run as root, where permission bits stop nothing, so the folder is marked immutable (as chattr +i
// does); other users get its write permission taken away. IsReadOnly() tells whether either
// worked, proven by failing to create a file in it; Reason() is the system's reason for that.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool IsReadOnly() const { return readOnly_; }
    const QString& Reason() const { return reason_; }

  private:
    bool SetImmutable(bool on);
    QString path_;
    bool immutable_ = false;
    bool chmodded_ = false;
    bool readOnly_ = false;
    QString reason_;
};

}  // namespace quorvex::test
