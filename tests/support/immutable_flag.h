#pragma once

#include <QString>

namespace quorvex::test {

// Sets or clears the file system's immutable flag on a file or folder (what `chattr +i` does).
// Even root cannot change or delete an immutable entry, so tests that run as root use it to make
// a read-only file or folder. Returns false where the file system or the caller cannot set it.
bool SetImmutableFlag(const QString& path, bool on);

}  // namespace quorvex::test
