#include "manage/rename_file.h"

#include "data/core/failure.h"
#include "data/folder/path_case.h"
#include "shell/command_steps.h"
#include "shell/files.h"

#include <QFile>

namespace quorvex {

namespace {

// The path a copy writes to: its folder found ignoring case, and its last name either the entry
// that already answers to it ignoring case or, for an exact check, the name exactly as given.
QString CopyTarget(const QString& destination, DestinationCheck check) {
    const qsizetype slash = destination.lastIndexOf(QLatin1Char('/'));
    if (check == DestinationCheck::IgnoringCase || slash <= 0) {
        return ResolveNewPathIgnoringCase(destination);
    }
    return ResolvePathIgnoringCase(destination.left(slash)) + destination.mid(slash);
}

// Copies the file's contents to a new file. QFile::copy refuses an existing destination, and the
// destination is looked up ignoring case first (unless the check asks for the exact name), so a
// file that only differs in case, or the source itself, is never written over.
void CopyFileWithoutOverwriting(const QString& source, const QString& destination,
                                DestinationCheck check) {
    QFile file(ResolvePathIgnoringCase(source));
    const QString target = CopyTarget(destination, check);
    if (!file.copy(target)) {
        throw Failure(file.errorString());
    }
    NoteEntryChanged(target, true);
}

}  // namespace

bool RenameFile(Dialogs& dialogs, const QString& source, const QString& destination,
                DestinationCheck check) {
    CommandSteps steps(dialogs, QStringLiteral("Main.RenameFile"));
    if (!steps.Step(100, [&] { CopyFileWithoutOverwriting(source, destination, check); })) {
        return false;  // deleting the source now would lose the table's data
    }
    // A source that stays (a locked or immutable file) is reported with the platform's reason:
    // the file now exists under both names, and nothing else would tell why.
    steps.Step(102, [&] { DeleteFileOrFail(source); });
    return true;
}

bool CopyFileKeepingSource(Dialogs& dialogs, const QString& source, const QString& destination,
                           DestinationCheck check) {
    CommandSteps steps(dialogs, QStringLiteral("Main.RenameFile"));
    return steps.Step(100, [&] { CopyFileWithoutOverwriting(source, destination, check); });
}

}  // namespace quorvex
