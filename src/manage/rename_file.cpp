#include "manage/rename_file.h"

#include "data/failure.h"
#include "data/path_case.h"
#include "shell/command_steps.h"
#include "shell/files.h"

#include <QFile>

namespace quorvex {

namespace {

// Copies the file's contents to a new file. QFile::copy refuses an existing destination, and the
// destination is looked up ignoring case first, so a file that only differs in case, or the
// source itself, is never written over.
void CopyFileWithoutOverwriting(const QString& source, const QString& destination) {
    QFile file(ResolvePathIgnoringCase(source));
    const QString target = ResolveNewPathIgnoringCase(destination);
    if (!file.copy(target)) {
        throw Failure(file.errorString());
    }
    NoteEntryChanged(target, true);
}

}  // namespace

bool RenameFile(Dialogs& dialogs, const QString& source, const QString& destination) {
    CommandSteps steps(dialogs, QStringLiteral("Main.RenameFile"));
    if (!steps.Step(100, [&] { CopyFileWithoutOverwriting(source, destination); })) {
        return false;  // deleting the source now would lose the table's data
    }
    // A source that stays (a locked or immutable file) is reported with the platform's reason:
    // the file now exists under both names, and nothing else would tell why.
    steps.Step(102, [&] { DeleteFileOrFail(source); });
    return true;
}

bool CopyFileKeepingSource(Dialogs& dialogs, const QString& source, const QString& destination) {
    CommandSteps steps(dialogs, QStringLiteral("Main.RenameFile"));
    return steps.Step(100, [&] { CopyFileWithoutOverwriting(source, destination); });
}

}  // namespace quorvex
