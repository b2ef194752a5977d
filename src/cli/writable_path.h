#pragma once

#include <QString>

namespace quorvex {

// Why a file the command line is to write (a report, a rejects file) cannot be: a folder stands
// at the path, the file is read-only, or its folder is missing or cannot be written. Empty when
// it can, so that a run checks it before it changes anything.
QString WhyNotWritable(const QString& path);

}  // namespace quorvex
