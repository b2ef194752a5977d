#pragma once

#include "transfer/migration_ledger.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <mutex>
#include <vector>

namespace quorvex {

// Gathers what a send learns of each table for the ledger, from any job's thread: the source
// file as it was before the send began (so a change made while it ran shows next time), and
// the rows that are not in Oracle as read. Builds each table's entry when its rows are
// committed.
class LedgerRecorder {
  public:
    // `sourceFiles`: each table's file, by name; `rejectsFile`: where refused rows go, if anywhere.
    LedgerRecorder(const QHash<QString, QString>& sourceFiles, const QString& rejectsFile);

    // A row that is not in Oracle as it was read: refused (not stored), or stored with a value
    // left out (a number Oracle cannot hold sent as NULL).
    void RowNotWhole(const QString& table, std::int64_t row, bool stored);

    // The entry of a table: `rowsRead` sent, of which `rowsStored` are in Oracle; `outcome` as
    // the summary words it. The first entry of a table starts its clock; a later one's
    // `seconds`, when negative, is the time since.
    LedgerEntry EntryOf(const QString& table, std::int64_t rowsRead, std::int64_t rowsStored,
                        const QString& outcome, double seconds);

    // How many of the table's rows that are not whole are in Oracle all the same.
    std::int64_t StoredNotWhole(const QString& table);

  private:
    struct Seen {
        QString sourceFile;
        std::optional<std::int64_t> size;
        QDateTime modified;
        std::vector<std::int64_t> refused;  // not stored
        std::int64_t storedNotWhole = 0;
        QDateTime begun{};
    };

    std::mutex lock_;
    QHash<QString, Seen> tables_;
    QString rejectsFile_;
};

}  // namespace quorvex
