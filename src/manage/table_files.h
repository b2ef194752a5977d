#pragma once

#include <QString>
#include <QStringList>

namespace quorvex {

// The data file of a listed Paradox table: the folder text, "/", the name and the extension,
// with nothing trimmed or checked. The commands try ".DB" first, then ".db".
QString DataFilePath(const QString& folder, const QString& tableName, const QString& extension);

// True for the extensions (without the dot, any letter case) of the files that belong to a
// Paradox table beside its data file: PX, MB, VAL, TV, FAM, Xnn, Ynn (nn two hex digits) and
// XGn, YGn (n one hex digit).
bool IsParadoxCompanionExtension(const QString& extension);

// The names (no folder part) of the companion files of a table directly in `folder`: files whose
// base name equals `tableName` ignoring case (as file names are matched) and whose extension is a
// companion extension. The folder is found ignoring case; a missing folder yields no names.
QStringList CompanionFileNames(const QString& folder, const QString& tableName);

// Splits "NAME.EXT" at its last dot; a name without a dot has an empty extension.
struct FileNameParts {
    QString base;
    QString extension;
};
FileNameParts SplitFileName(const QString& fileName);

}  // namespace quorvex
