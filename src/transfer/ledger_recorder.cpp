#include "transfer/ledger_recorder.h"

#include <QFileInfo>

namespace quorvex {

LedgerRecorder::LedgerRecorder(const QHash<QString, QString>& sourceFiles,
                               const QString& rejectsFile)
    : rejectsFile_(rejectsFile.isEmpty() ? QString() : QFileInfo(rejectsFile).absoluteFilePath()) {
    for (auto file = sourceFiles.begin(); file != sourceFiles.end(); ++file) {
        Seen& seen = tables_[file.key()];
        seen.sourceFile = file.value();
        const QFileInfo info(file.value());
        if (info.exists()) {
            seen.size = info.size();
            seen.modified = info.lastModified().toUTC();
        }
    }
}

void LedgerRecorder::RowNotWhole(const QString& table, std::int64_t row, bool stored) {
    const std::lock_guard guard(lock_);
    Seen& seen = tables_[table];
    if (stored) {
        ++seen.storedNotWhole;
    } else {
        seen.refused.push_back(row);
    }
}

std::int64_t LedgerRecorder::StoredNotWhole(const QString& table) {
    const std::lock_guard guard(lock_);
    return tables_.value(table).storedNotWhole;
}

LedgerEntry LedgerRecorder::EntryOf(const QString& table, std::int64_t rowsRead,
                                    std::int64_t rowsStored, const QString& outcome,
                                    double seconds) {
    const std::lock_guard guard(lock_);
    Seen& seen = tables_[table];
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!seen.begun.isValid()) {
        seen.begun = now;
    }
    LedgerEntry entry;
    entry.table = table;
    entry.sourceFile = seen.sourceFile;
    entry.fileSize = seen.size;
    entry.fileModified = seen.modified;
    entry.rowsRead = rowsRead;
    entry.rowsArrived = rowsStored;
    entry.rowsRefused = rowsRead - rowsStored;
    entry.refusedRows = RowNumberRanges(seen.refused);
    entry.rejectsFile = entry.rowsRefused > 0 ? rejectsFile_ : QString();
    entry.outcome = outcome;
    entry.finished = now;
    entry.seconds = seconds >= 0 ? seconds : static_cast<double>(seen.begun.msecsTo(now)) / 1000.0;
    return entry;
}

}  // namespace quorvex
