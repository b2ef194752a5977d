#pragma once

#include <QString>
#include <QStringList>

namespace quorvex {

// The names (no folder part) of the files directly in `folder` whose names match the wildcard
// `pattern` ignoring case ("*.db" in every call), hidden files included, folders excluded, in the
// order the directory gives them. A folder that does not exist yields no names. A folder text the
// directory search cannot take raises Failure.
QStringList FindFiles(const QString& folder, const QString& pattern);

}  // namespace quorvex
