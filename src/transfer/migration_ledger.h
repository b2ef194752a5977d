#pragma once

#include "data/access/connection.h"
#include "transfer/ledger_statements.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace quorvex {

// The ledger of the migrations into one Oracle schema, and the lock that lets one run in at a
// time. The lock is a row lock (SELECT ... FOR UPDATE NOWAIT on the lock table's one row) held by
// a connection of the run's own, in a transaction it never commits: it ends with that session,
// however the run ends (kill -9, a lost network), and nothing else is needed to free it. So a run
// without an end in the ledger whose lock is free has died; the next run ends its row, naming
// itself, and goes on. The run's own rows are written on a second connection, with autocommit, so
// that the lock's transaction holds nothing but the lock.
class MigrationLedger {
  public:
    MigrationLedger() = default;
    ~MigrationLedger();
    MigrationLedger(const MigrationLedger&) = delete;
    MigrationLedger& operator=(const MigrationLedger&) = delete;

    // What Take found.
    struct Taking {
        bool taken = false;
        bool busy = false;                // another session holds the lock
        std::optional<LedgerRun> holder;  // when not taken: the run holding the lock, if it says
        std::vector<LedgerRun> dead;      // runs that ended without closing: their lock was free
        QString failure;                  // not taken for another reason: the server's own message
    };

    // Creates the ledger's tables where `oracleTables` (the schema's tables, as listed) lacks
    // them, takes the lock and records the run (`run`'s id is chosen here). Failures are
    // returned, never thrown.
    Taking Take(const QString& oracleConnectionString, const QStringList& oracleTables,
                LedgerRun run);

    bool Taken() const { return taken_; }
    const LedgerRun& Run() const { return run_; }

    // Writes a kLedgerSending entry for the table before anything of it is changed, on
    // `connection` (a job's own, with autocommit) or the ledger's. Throws Failure.
    void Begin(Connection& connection, LedgerEntry entry) const;
    void Begin(LedgerEntry entry);
    // Writes the table's entry over the one Begin wrote (its run id set here) on `connection`: a
    // bulk table's own connection, in the transaction that commits its rows; else the ledger's.
    // Throws Failure.
    void Record(Connection& connection, LedgerEntry entry) const;
    void Record(LedgerEntry entry);
    // Writes the fingerprint of the table's columns (ReadColumnFingerprint, read on the same
    // connection) into this run's entry of it, once its rows are committed and, for a native
    // table, its key made (which makes the key's columns NOT NULL). Throws Failure.
    void RecordColumns(Connection& connection, const QString& table) const;
    void RecordColumns(const QString& table);

    // The latest entry of each table, by table name, read on the ledger's connection.
    std::map<QString, LedgerEntry> LatestEntries() { return LatestLedgerEntries(writer_); }

    // The same on any connection to the schema, with no lock: for a command that only reads.
    // Throws Failure (the ledger's tables missing among others).
    static std::map<QString, LedgerEntry> LatestLedgerEntries(Connection& oracle);

    // Ends the run's row with its exit status and lets the lock go; false with `failure` when the
    // row could not be ended (the lock goes with the connection all the same).
    bool Close(int exitStatus, QString* failure = nullptr);

  private:
    void CreateMissingTables(const QStringList& oracleTables);
    std::vector<LedgerRun> OpenRuns();
    // True when the lock was taken; false when its row is missing (made by a run that died
    // before writing it).
    bool Lock();

    Connection lock_;
    Connection writer_;
    LedgerRun run_;
    bool taken_ = false;
};

// "run 7 on host H, process 1234, started 2026-12-08 01:37:23 UTC"
QString DescribeLedgerRun(const LedgerRun& run);

// What the ledger's latest entry of a table already in Oracle says of it now.
struct LedgerStanding {
    enum class State {
        Unknown,          // no entry: only the counts tell
        Complete,         // Oracle holds exactly the rows that arrived, from the same file
        ChangedInOracle,  // other rows than arrived, or altered columns: changed since, by hand
        SourceChanged,    // the Paradox file is not the one that was sent, the table as it left
        Unfinished,       // the send never committed the table, or read only part of it
    };
    State state = State::Unknown;
    LedgerEntry entry{};
    bool columnsAltered = false;    // ChangedInOracle: its columns are not those the entry keeps
    bool sourceChangedToo = false;  // ChangedInOracle: and its Paradox file is not the one sent

    // "changed since its send in run 4: 9 rows in Oracle where 7 arrived", "...: its columns were
    // altered"...; empty for Unknown.
    QString Describe(std::int64_t oracleRows) const;
};

// Judges a table by its latest entry (nullptr for none), its Paradox file now (size and
// modification time) and row count, and the rows Oracle holds and the fingerprint of its columns
// now (ReadColumnFingerprint; empty when unknown, and then only the rows tell).
LedgerStanding StandingOf(const LedgerEntry* entry, const QString& sourceFile,
                          std::int64_t paradoxRows, std::int64_t oracleRows,
                          const QString& columns = {});

}  // namespace quorvex
