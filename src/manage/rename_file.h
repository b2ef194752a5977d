#pragma once

#include "shell/ui.h"

#include <QString>

namespace quorvex {

// What counts as an existing destination, which a copy never writes over.
enum class DestinationCheck {
    // Any entry whose name equals the destination's ignoring case, the source itself included.
    IgnoringCase,
    // Only an entry of exactly that name: for a folder that holds the source under several
    // spellings (its file system tells letter case apart), where the new name of each spelling
    // is a file of its own.
    ExactName,
};

// Renames a file by copying it to the destination and then deleting the source. Both paths are
// matched ignoring case. The copy never overwrites: when the destination exists (including the
// source itself under another spelling, unless `check` asks for the exact name) the copy fails. A
// failed copy is reported under "Main.RenameFile" at line 100 and the source is then left alone; a
// source that cannot be deleted after its copy is reported at line 102. Returns true when the copy
// was made (the source is gone unless it could not be deleted).
bool RenameFile(Dialogs& dialogs, const QString& source, const QString& destination,
                DestinationCheck check = DestinationCheck::IgnoringCase);

// Copies a file the way RenameFile does (never overwriting, a failure reported under
// "Main.RenameFile") but keeps the source: for the companions of a table whose data file could
// not be moved away, so that both the old and the new table stay whole.
bool CopyFileKeepingSource(Dialogs& dialogs, const QString& source, const QString& destination,
                           DestinationCheck check = DestinationCheck::IgnoringCase);

}  // namespace quorvex
