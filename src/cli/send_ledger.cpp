#include "cli/send_ledger.h"

#include "shell/command_steps.h"

namespace quorvex {

SendLedger::SendLedger(MigrationLedger& ledger, const QHash<QString, QString>& sourceFiles,
                       const QString& rejectsFile, Terminal& terminal)
    : ledger_(ledger), recorder_(sourceFiles, rejectsFile), terminal_(terminal) {}

void SendLedger::Told(const QString& table, const std::exception& failure) {
    ++failures_;
    terminal_.Message(QStringLiteral("quorvex send: %1: the ledger could not be written: %2")
                          .arg(table, CommandSteps::Describe(failure).simplified()));
}

void SendLedger::RowNotWhole(const QString& table, const SentRow& row) {
    recorder_.RowNotWhole(table, row.number, row.stored);
}

void SendLedger::Changing(const QString& table) {
    if (begun_.contains(table)) {
        return;
    }
    begun_.insert(table);
    try {
        ledger_.Begin(recorder_.EntryOf(table, 0, 0, kLedgerSending, 0.0));
    } catch (const std::exception& failure) {
        Told(table, failure);
    }
}

void SendLedger::TableClosed(const SentTable& table) {
    if (table.fate != SentTable::Fate::Copied) {
        return;  // kept, or never copied: Oracle holds nothing this run committed
    }
    begun_.remove(table.name);
    // The summary counts a row stored with a value left out as refused; the ledger as arrived.
    const std::int64_t storedNotWhole = recorder_.StoredNotWhole(table.name);
    try {
        ledger_.Record(recorder_.EntryOf(table.name, table.arrived + table.refused,
                                         table.arrived + storedNotWhole, table.Outcome(),
                                         table.seconds));
        ledger_.RecordColumns(table.name);
    } catch (const std::exception& failure) {
        Told(table.name, failure);
    }
}

BulkSendHooks SendLedger::BulkHooks() {
    BulkSendHooks hooks;
    hooks.beforeSend = [this](Connection& connection, const QString& table) {
        ledger_.Begin(connection, recorder_.EntryOf(table, 0, 0, kLedgerSending, 0.0));
    };
    hooks.rowNotWhole = [this](const RowProblem& row) {
        recorder_.RowNotWhole(row.table, row.rowNumber, row.stored);
    };
    hooks.beforeCommit = [this](Connection& connection, const QString& table,
                                const BulkTableResult& result) {
        const bool whole =
            result.refused + result.storedWithNull == 0 && result.rowsRead == result.paradoxRows;
        ledger_.Record(
            connection,
            recorder_.EntryOf(table, result.rowsRead, result.arrived,
                              whole ? QStringLiteral("sent") : QStringLiteral("incomplete"), -1.0));
    };
    hooks.afterCommit = [this](Connection& connection, const QString& table) {
        ledger_.RecordColumns(connection, table);
    };
    return hooks;
}

}  // namespace quorvex
