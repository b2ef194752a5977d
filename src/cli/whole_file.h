#pragma once

#include <QByteArray>
#include <QString>

namespace quorvex {

// Writes `bytes` to `path` whole or not at all: into a new file beside it, flushed to the disk,
// then renamed over it, so that a full disk, a read-only file system or a quota never leaves a
// file cut short under that name (an older file there stays as it was). Returns the system's own
// reason for the first call that failed (strerror, "No space left on device"), empty on success.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// Writes every byte to the descriptor, through interruptions and short writes; false with errno
// set on the first failure.
bool WriteEveryByte(int descriptor, const QByteArray& bytes);

// The system's reason for an errno value, as strerror words it.
QString SystemReason(int error);

}  // namespace quorvex
