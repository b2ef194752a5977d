#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvex {

// The ledger's tables in the Oracle schema, named so that nobody takes them for data: the runs,
// one row per table a run settled, and the single row whose lock lets one run in at a time.
inline const QString kLedgerRunsTable = QStringLiteral("QUORVEX$LEDGER_RUNS");
inline const QString kLedgerTablesTable = QStringLiteral("QUORVEX$LEDGER_TABLES");
inline const QString kLedgerLockTable = QStringLiteral("QUORVEX$LEDGER_LOCK");

// A run as its row holds it.
struct LedgerRun {
    std::int64_t id = 0;
    QString host{};
    std::int64_t process = 0;  // the process id on that host
    QDateTime started{};       // UTC
    QString options{};         // the command line as given, never a password
    QString folder{};
};

// What one run did to one table, written when the table's rows are committed (a bulk table:
// in the transaction that commits them), so that the ledger never says more than Oracle holds.
struct LedgerEntry {
    std::int64_t runId = 0;
    QString table{};
    QString sourceFile{};
    std::optional<std::int64_t> fileSize{};
    QDateTime fileModified{};  // UTC, to the millisecond; invalid when unknown
    std::int64_t rowsRead = 0;
    std::int64_t rowsArrived = 0;  // in Oracle once committed
    std::int64_t rowsRefused = 0;
    QString refusedRows{};  // "3,7,10-12": the refused rows' numbers, "" when none or too many
    QString rejectsFile{};  // where the refused rows were written, "" for none
    QString outcome{};      // the summary's word: "sent", "incomplete", "rolled back"...
    QDateTime finished{};   // UTC
    double seconds = 0.0;
    // The Oracle table's columns once committed (and keyed), ReadColumnFingerprint; "" when not
    // known (an entry of an older ledger, or not yet recorded).
    QString columns{};
};

// Each statement is one text of the Oracle form the test server also takes: quoted names, no
// NUMBER (NUMERIC), NVARCHAR2, TIMESTAMP literals; the texts a run gives are "?" markers, bound.
QString CreateLedgerRunsStatement();
QString CreateLedgerTablesStatement();
QString CreateLedgerLockStatement();
QString InsertLedgerLockRowStatement();

// A ledger made before the tables' entries kept their columns' fingerprint lacks its column:
// the probe (no rows) is refused there, and the ALTER TABLE adds it.
QString LedgerFingerprintProbe();
QString AddLedgerFingerprintStatement();

// Locks the lock table's row without waiting: refused at once while another session holds it.
QString LockLedgerStatement();

// "RUN_ID", "HOST", "PROCESS", "STARTED", "OPTIONS", "FOLDER" of the runs that have no end, the
// oldest first.
QString OpenLedgerRunsQuery();
QString NextLedgerRunIdQuery();

// The run's row; its bound values are the host, the options and the folder, in that order.
QString InsertLedgerRunStatement(const LedgerRun& run);
// Ends the run; `note` (bound) says how, e.g. that a later run found it dead.
QString EndLedgerRunStatement(std::int64_t runId, const QDateTime& ended,
                              std::optional<int> exitStatus);

// The outcome of an entry written before a table is changed (dropped, created, filled): while it
// is the table's latest, the ledger knows nothing of what Oracle holds of it.
inline const QString kLedgerSending = QStringLiteral("sending");

// The entry's row; its bound values are the table, the source file, the file's modification time,
// the refused rows, the rejects file and the outcome, in that order (LedgerEntryTexts).
QString InsertLedgerEntryStatement(const LedgerEntry& entry);
std::vector<QString> LedgerEntryTexts(const LedgerEntry& entry);
// The same entry written over the one its run began for the table (kLedgerSending); its bound
// values are LedgerEntryTexts' from the source file on, then the table.
QString UpdateLedgerEntryStatement(const LedgerEntry& entry);
std::vector<QString> LedgerEntryUpdateTexts(const LedgerEntry& entry);

// Writes the fingerprint of the table's columns into the entry its run wrote; its bound values
// are the fingerprint and the table.
QString RecordLedgerColumnsStatement(std::int64_t runId);

// The latest entry of each table, columns in LedgerEntry's order from "TABLE_NAME" on to
// "OUTCOME", then "RUN_ID" and, `withFingerprint` (a ledger that has the column), the columns'
// fingerprint.
QString LatestLedgerEntriesQuery(bool withFingerprint);

// A TIMESTAMP literal, to the millisecond: TIMESTAMP '2026-12-08 01:37:23.123'.
QString TimestampLiteral(const QDateTime& time);

// Row numbers as ranges, "3,7,10-12", or "" when that text would be longer than `longest`.
QString RowNumberRanges(std::vector<std::int64_t> rows, qsizetype longest = 2000);
// The row numbers a RowNumberRanges text names.
std::vector<std::int64_t> RowNumbersOf(const QString& ranges);

}  // namespace quorvex
