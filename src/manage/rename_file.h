#pragma once

#include "shell/ui.h"

#include <QString>

namespace quorvex {

// Renames a file by copying it to the destination and then deleting the source. Both paths are
// matched ignoring case. The copy never overwrites: when the destination exists (including the
// source itself under another spelling) the copy fails. A failed copy is reported under
// "Main.RenameFile" at line 100 and the source is then left alone; a source that cannot be
// deleted after its copy is reported at line 102. Returns true when the copy was made (the source
// is gone unless it could not be deleted).
bool RenameFile(Dialogs& dialogs, const QString& source, const QString& destination);

// Copies a file the way RenameFile does (never overwriting, a failure reported under
// "Main.RenameFile") but keeps the source: for the companions of a table whose data file could
// not be moved away, so that both the old and the new table stay whole.
bool CopyFileKeepingSource(Dialogs& dialogs, const QString& source, const QString& destination);

}  // namespace quorvex
