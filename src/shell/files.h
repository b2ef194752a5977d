#pragma once

#include <QString>

namespace quorvex {

// True when the path's date and time stamp can be read: an existing file or folder. The name
// is matched ignoring case. Never fails.
bool FileExists(const QString& path);

// Deletes the file (matched ignoring case); any failure (missing, read-only, in use) is ignored.
void DeleteFileQuietly(const QString& path);

// Deletes the file (matched ignoring case) like DeleteFileQuietly, but a file that stays (locked,
// immutable, in a folder that refuses changes) raises Failure with the platform's reason. A path
// that names no file is left alone.
void DeleteFileOrFail(const QString& path);

}  // namespace quorvex
