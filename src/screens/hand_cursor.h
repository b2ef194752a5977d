#pragma once

#include <QCursor>
#include <QString>

namespace quorvex {

// Loads a Windows cursor file (.CUR) as a mouse cursor, with the hotspot the file names. Raises
// Failure("Invalid picture") when the file cannot be read as a cursor.
QCursor LoadCursorFile(const QString& path);

}  // namespace quorvex
