#pragma once

#include "cli/bulk_send.h"
#include "cli/terminal.h"
#include "transfer/ledger_recorder.h"
#include "transfer/migration_ledger.h"
#include "transfer/transfer_summary.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <atomic>

namespace quorvex {

// The ledger's side of one send: each table's entry, written before the table is changed and
// completed as its rows are committed (row by row: after its last row; in bulk: in the
// transaction that commits them). A failure to write it is told on the terminal and counted;
// the send goes on.
class SendLedger {
  public:
    // `sourceFiles`: each table's file, by name, as they are before the send begins.
    SendLedger(MigrationLedger& ledger, const QHash<QString, QString>& sourceFiles,
               const QString& rejectsFile, Terminal& terminal);

    // A row of the row-by-row send that did not arrive whole.
    void RowNotWhole(const QString& table, const SentRow& row);
    // The row-by-row send is about to change the table (its DROP TABLE, or its first row).
    void Changing(const QString& table);
    // The row-by-row send left the table (TransferSummary::OnTableClosed).
    void TableClosed(const SentTable& table);
    // The same for a bulk send, on its jobs' threads and connections.
    BulkSendHooks BulkHooks();

    // How many entries could not be written, told on the terminal (by a bulk job: reported by
    // the job).
    int Failures() const { return failures_; }

  private:
    void Told(const QString& table, const std::exception& failure);

    MigrationLedger& ledger_;
    LedgerRecorder recorder_;
    Terminal& terminal_;
    QSet<QString> begun_;  // row by row: tables whose entry was begun and not yet completed
    std::atomic<int> failures_{0};
};

}  // namespace quorvex
