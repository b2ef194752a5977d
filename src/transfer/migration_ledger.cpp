#include "transfer/migration_ledger.h"

#include "data/core/failure.h"
#include "data/oracle/odbc_parameter_arrays.h"
#include "shell/command_steps.h"
#include "transfer/column_fingerprint.h"
#include "transfer/quoted_name.h"
#include "transfer/server_number.h"
#include "transfer/value_text.h"

#include <QFileInfo>

namespace quorvex {

namespace {

QString TextOf(const Value& value) { return value.isNull() ? QString() : ValueText(value); }

// The ledger writes its times in UTC; the driver hands them back without a zone.
QDateTime TimeOf(const Value& value) {
    if (value.kind() == Value::Kind::DateTime) {
        const QDateTime time = value.toDateTime();
        return QDateTime(time.date(), time.time(), Qt::UTC);
    }
    if (value.kind() == Value::Kind::Text) {
        QDateTime time = QDateTime::fromString(value.toText().left(23), Qt::ISODateWithMs);
        time.setTimeSpec(Qt::UTC);
        return time;
    }
    return QDateTime();
}

// The ledger's text columns hold 2,000 characters: a longer command line or path is cut rather
// than failing the send.
constexpr qsizetype kLongestLedgerText = 2000;

std::vector<Value> Texts(const std::vector<QString>& texts) {
    std::vector<Value> values;
    for (const QString& text : texts) {
        values.push_back(Value::Text(text.left(kLongestLedgerText)));
    }
    return values;
}

// True when the server takes the query: a table or a column exists.
bool Answers(Connection& connection, const QString& query) {
    try {
        Recordset probe;
        probe.Open(query, connection);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool Exists(Connection& connection, const QString& table) {
    return Answers(connection, QStringLiteral("SELECT COUNT(*) FROM ") + QuotedTableName(table));
}

}  // namespace

QString DescribeLedgerRun(const LedgerRun& run) {
    return QStringLiteral("run %1 on host %2, process %3, started %4 UTC")
        .arg(QString::number(run.id), run.host, QString::number(run.process),
             run.started.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

MigrationLedger::~MigrationLedger() {
    if (taken_) {
        Close(-1);
    }
}

MigrationLedger::Taking MigrationLedger::Take(const QString& oracleConnectionString,
                                              const QStringList& oracleTables, LedgerRun run) {
    Taking taking;
    try {
        lock_.Open(oracleConnectionString);
        writer_.Open(oracleConnectionString);
        CreateMissingTables(oracleTables);
        SetOdbcAutoCommit(lock_.OdbcConnectionHandle(), false);
        bool locked = false;
        try {
            locked = Lock();
            if (!locked) {
                // The row went missing (a run died between creating the table and filling it):
                // made again, outside the lock's transaction, then locked.
                EndOdbcTransaction(lock_.OdbcConnectionHandle(), false);
                try {
                    writer_.Execute(InsertLedgerLockRowStatement());
                } catch (const std::exception&) {
                    // another run made it meanwhile: the primary key keeps it single
                }
                locked = Lock();
            }
        } catch (const std::exception& failure) {
            if (CommandSteps::LostTheConnection(failure)) {
                throw;
            }
            // NOWAIT: another session holds the row. Its run is the newest without an end (the
            // older ones, if any, died while it waited for nothing: it ended them on taking it).
            const std::vector<LedgerRun> open = OpenRuns();
            if (!open.empty()) {
                taking.holder = open.back();
            }
            taking.busy = true;
            taking.failure = CommandSteps::Describe(failure);
            return taking;
        }
        if (!locked) {
            throw Failure(QStringLiteral("The ledger's lock row could not be made."));
        }
        // Only now: no other run writes entries while the table is altered.
        if (!Answers(writer_, LedgerFingerprintProbe())) {
            writer_.Execute(AddLedgerFingerprintStatement());
        }
        const QDateTime now = QDateTime::currentDateTimeUtc();
        Recordset next;
        next.Open(NextLedgerRunIdQuery(), writer_);
        run.id = WholeNumberOf(next.FieldValue(0)).value_or(1);
        next.Close();
        taking.dead = OpenRuns();
        for (const LedgerRun& dead : taking.dead) {
            writer_.Execute(
                EndLedgerRunStatement(dead.id, now, std::nullopt),
                {Value::Text(
                    QStringLiteral("ended without closing; its lock was taken over by run %1")
                        .arg(run.id))});
        }
        writer_.Execute(InsertLedgerRunStatement(run), Texts({run.host, run.options, run.folder}));
        run_ = run;
        taken_ = true;
        taking.taken = true;
    } catch (const std::exception& failure) {
        taking.failure = CommandSteps::Describe(failure);
        lock_.Close();
        writer_.Close();
    }
    return taking;
}

void MigrationLedger::CreateMissingTables(const QStringList& oracleTables) {
    const auto create = [&](const QString& table, const QString& statement) {
        if (oracleTables.contains(table)) {
            return false;
        }
        try {
            writer_.Execute(statement);
        } catch (const std::exception&) {
            // Another run may have made it meanwhile; anything else is told.
            if (!Exists(writer_, table)) {
                throw;
            }
            return false;
        }
        return true;
    };
    create(kLedgerRunsTable, CreateLedgerRunsStatement());
    create(kLedgerTablesTable, CreateLedgerTablesStatement());
    if (create(kLedgerLockTable, CreateLedgerLockStatement())) {
        try {
            writer_.Execute(InsertLedgerLockRowStatement());
        } catch (const std::exception&) {
            // another run's row: the primary key keeps it single
        }
    }
}

bool MigrationLedger::Lock() {
    Recordset locked;
    locked.Open(LockLedgerStatement(), lock_);
    const bool found = !locked.Eof();
    locked.Close();
    return found;
}

std::vector<LedgerRun> MigrationLedger::OpenRuns() {
    std::vector<LedgerRun> runs;
    Recordset open;
    open.Open(OpenLedgerRunsQuery(), writer_);
    for (; !open.Eof(); open.MoveNext()) {
        LedgerRun run;
        run.id = WholeNumberOf(open.FieldValue(0)).value_or(0);
        run.host = TextOf(open.FieldValue(1));
        run.process = WholeNumberOf(open.FieldValue(2)).value_or(0);
        run.started = TimeOf(open.FieldValue(3));
        run.options = TextOf(open.FieldValue(4));
        run.folder = TextOf(open.FieldValue(5));
        runs.push_back(run);
    }
    return runs;
}

void MigrationLedger::Begin(Connection& connection, LedgerEntry entry) const {
    entry.runId = run_.id;
    entry.outcome = kLedgerSending;
    connection.Execute(InsertLedgerEntryStatement(entry), Texts(LedgerEntryTexts(entry)));
}

void MigrationLedger::Begin(LedgerEntry entry) { Begin(writer_, std::move(entry)); }

void MigrationLedger::Record(Connection& connection, LedgerEntry entry) const {
    entry.runId = run_.id;
    connection.Execute(UpdateLedgerEntryStatement(entry), Texts(LedgerEntryUpdateTexts(entry)));
}

void MigrationLedger::Record(LedgerEntry entry) { Record(writer_, std::move(entry)); }

void MigrationLedger::RecordColumns(Connection& connection, const QString& table) const {
    const QString fingerprint = ReadColumnFingerprint(connection, table);
    connection.Execute(RecordLedgerColumnsStatement(run_.id), Texts({fingerprint, table}));
}

void MigrationLedger::RecordColumns(const QString& table) { RecordColumns(writer_, table); }

std::map<QString, LedgerEntry> MigrationLedger::LatestLedgerEntries(Connection& oracle) {
    std::map<QString, LedgerEntry> entries;
    // A ledger of an older version, read without the lock, may lack the fingerprint's column.
    const bool withFingerprint = Answers(oracle, LedgerFingerprintProbe());
    Recordset latest;
    latest.Open(LatestLedgerEntriesQuery(withFingerprint), oracle);
    for (; !latest.Eof(); latest.MoveNext()) {
        LedgerEntry entry;
        entry.table = TextOf(latest.FieldValue(0));
        entry.sourceFile = TextOf(latest.FieldValue(1));
        entry.fileSize = WholeNumberOf(latest.FieldValue(2));
        entry.fileModified = TimeOf(latest.FieldValue(3));
        entry.rowsRead = WholeNumberOf(latest.FieldValue(4)).value_or(0);
        entry.rowsArrived = WholeNumberOf(latest.FieldValue(5)).value_or(0);
        entry.rowsRefused = WholeNumberOf(latest.FieldValue(6)).value_or(0);
        entry.refusedRows = TextOf(latest.FieldValue(7));
        entry.rejectsFile = TextOf(latest.FieldValue(8));
        entry.outcome = TextOf(latest.FieldValue(9));
        entry.runId = WholeNumberOf(latest.FieldValue(10)).value_or(0);
        entry.columns = withFingerprint ? TextOf(latest.FieldValue(11)) : QString();
        entries[entry.table] = entry;
    }
    return entries;
}

bool MigrationLedger::Close(int exitStatus, QString* failure) {
    if (!taken_) {
        return true;
    }
    taken_ = false;
    bool ended = true;
    try {
        writer_.Execute(
            EndLedgerRunStatement(run_.id, QDateTime::currentDateTimeUtc(),
                                  exitStatus >= 0 ? std::optional<int>(exitStatus) : std::nullopt),
            {Value::Text(QString())});
    } catch (const std::exception& problem) {
        // A lost server was told already; the next run finds this one without an end.
        ended = CommandSteps::LostTheConnection(problem);
        if (!ended && failure != nullptr) {
            *failure = CommandSteps::Describe(problem);
        }
    }
    // Closing the session ends its transaction, and the lock with it.
    lock_.Close();
    writer_.Close();
    return ended;
}

}  // namespace quorvex

namespace quorvex {

LedgerStanding StandingOf(const LedgerEntry* entry, const QString& sourceFile,
                          std::int64_t paradoxRows, std::int64_t oracleRows,
                          const QString& columns) {
    using State = LedgerStanding::State;
    if (entry == nullptr) {
        return {};
    }
    LedgerStanding standing{State::Complete, *entry};
    const QFileInfo file(sourceFile);
    // Milliseconds: the ledger keeps no finer time.
    const qint64 modified = file.lastModified().toUTC().toMSecsSinceEpoch();
    const bool sourceChanged =
        !file.exists() || (entry->fileSize && *entry->fileSize != file.size()) ||
        (entry->fileModified.isValid() && entry->fileModified.toMSecsSinceEpoch() != modified);
    const bool committed = entry->outcome != kLedgerSending;
    if (committed) {
        // An entry without a fingerprint (an older ledger's) knows nothing of the columns.
        standing.columnsAltered =
            !entry->columns.isEmpty() && !columns.isEmpty() && entry->columns != columns;
        // Work done by hand in Oracle is never dropped, even where the file changed as well.
        if (oracleRows != entry->rowsArrived || standing.columnsAltered) {
            standing.state = State::ChangedInOracle;
            standing.sourceChangedToo = sourceChanged;
            return standing;
        }
    }
    if (sourceChanged) {
        standing.state = State::SourceChanged;
    } else if (!committed || entry->rowsRead < paradoxRows) {
        standing.state = State::Unfinished;
    }
    return standing;
}

QString LedgerStanding::Describe(std::int64_t oracleRows) const {
    const QString run = QString::number(entry.runId);
    switch (state) {
        case State::Unknown:
            break;
        case State::Complete:
            return entry.rowsRefused == 0
                       ? QStringLiteral("as its send in run %1 left it").arg(run)
                       : QStringLiteral("as its send in run %1 left it, %2 rows refused then")
                             .arg(run, QString::number(entry.rowsRefused));
        case State::ChangedInOracle: {
            QStringList changes;
            if (oracleRows != entry.rowsArrived) {
                changes.append(
                    QStringLiteral("%1 rows in Oracle where %2 arrived")
                        .arg(QString::number(oracleRows), QString::number(entry.rowsArrived)));
            }
            if (columnsAltered) {
                changes.append(QStringLiteral("its columns were altered"));
            }
            return QStringLiteral("changed since its send in run %1: %2%3")
                .arg(run, changes.join(QStringLiteral(", and ")),
                     sourceChangedToo ? QStringLiteral("; its Paradox file changed too, and "
                                                       "--overwrite sends it again")
                                      : QString());
        }
        case State::SourceChanged:
            return QStringLiteral("its Paradox file changed since its send in run %1").arg(run);
        case State::Unfinished:
            return QStringLiteral("its send in run %1 did not finish").arg(run);
    }
    return QString();
}

}  // namespace quorvex
