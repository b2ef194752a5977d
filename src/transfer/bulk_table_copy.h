#pragma once

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "shell/stop_request.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quorvex {

// A row that is not in Oracle as it was read: the server refused it, or one of its values could
// not be read from the Paradox table (`stored` false: the row is not in the table); or it holds a
// number Oracle cannot hold, infinite or not a number, sent as NULL (`stored` true once its table
// is committed; false when the table was rolled back, which took the row with it).
struct RowProblem {
    QString table;
    std::int64_t rowNumber = 0;  // 1 for the Paradox table's first row
    std::vector<QString> fieldNames;
    // Every field's value as sent, in field order: its text form (SentText: numbers, dates and
    // Booleans as the row copy writes them, bytes as upper-case hex), nullopt for NULL.
    std::vector<std::optional<QString>> values;
    bool stored = false;
    // The server's message, the reader's, or which numbers went as NULL (UnheldNumbersReport).
    QString message;
};

// What a front end learns of a bulk copy while it runs. Calls come from the thread that runs the
// copy (a job's own thread with several tables at once).
class BulkObserver {
  public:
    virtual ~BulkObserver() = default;
    // Before the first array: the Paradox table's record count.
    virtual void RowsToCopy(std::int64_t /*rowCount*/) {}
    // After each array: the rows read so far and, of them, the rows refused.
    virtual void RowsSent(std::int64_t /*rowsRead*/, std::int64_t /*rowsRefused*/) {}
    // A row that is not in the table as it was read: a refused one once the array it was part of
    // is settled, in row order within the array; one stored with NULL for a number once the table
    // is committed or rolled back, after the table's last array.
    virtual void RowNotWhole(const RowProblem& row) = 0;
};

struct BulkOptions {
    // The most rows sent as one array, and the most bytes of values for one: the rows read are
    // sent once either is reached, and a run of rows whose values, each column as wide as its
    // longest value in the run, would take more bytes goes in smaller runs (a row larger than
    // the limit as a run of one), so memory stays within about twice the limit whatever the
    // table holds.
    // 2,000 rows: measured beside 100 to 4,000 (bench/README.md), the rate stops growing there.
    int arrayRows = 2000;
    qsizetype arrayBytes = 8 * 1024 * 1024;
};

// What became of a table sent in bulk. A table is either complete in Oracle (less its refused
// rows) or absent: a stop or a failure after CREATE TABLE rolls the rows back and drops the table
// with PURGE (a server without a recycle bin, which refuses the word, drops it plainly).
struct BulkTableResult {
    enum class Outcome {
        Complete,    // every row read was sent: arrived, or refused and told to the observer
        Stopped,     // a stop request ended it; the table was rolled back and dropped
        Failed,      // a failure ended it after CREATE TABLE; rolled back and dropped
        NotCreated,  // it never got that far: the Paradox table could not be read, its names are
                     // refused, CREATE TABLE failed (an existing table of that name stays as it
                     // was)
    };
    Outcome outcome = Outcome::NotCreated;
    std::int64_t paradoxRows = -1;    // the record count, once read
    std::int64_t rowsRead = 0;        // rows read from the Paradox table
    std::int64_t arrived = 0;         // rows in the committed table (0 unless Complete)
    std::int64_t refused = 0;         // rows refused (of the rows read)
    std::int64_t storedWithNull = 0;  // rows that arrived with NULL for a number Oracle cannot hold
    QString failure;                  // Failed, NotCreated: the failure's own description
    bool connectionLost = false;      // the failure ended the Oracle connection
    // After a stop or a failure the table could not be dropped (a lost connection): an empty or
    // partial table of that name may stand in Oracle.
    bool tableLeftBehind = false;
    // With dropFirst: why the DROP TABLE before it was refused (the copy went on to CREATE TABLE);
    // empty when it went through.
    QString dropFailure;
    // A native copy that completed: the primary key or an index that was not made, one line each
    // (NativeKeysResult); the rows stay.
    QStringList keyProblems;
};

// Copies one Paradox table into a new Oracle table of the same name: the same CREATE TABLE and
// the same value forms as the row copy, but every row goes through one INSERT whose values are
// all bound ("?" markers), executed on arrays of rows with autocommit off and one commit for the
// table. The stop request is read after each array.
//
// Drivers differ in what a refused row does to its array. psqlODBC runs an array as one text of
// INSERTs, a hundred rows at a time: one refused row fails the whole array, every row is marked
// as failed, and the driver undoes the array (by default, with a savepoint of its own), or leaves
// the transaction aborted (Protocol=7.4-0), or rolls the whole transaction back (7.4-1). Oracle's
// driver runs every row of an array and marks each (its BatchAutocommitMode says what it commits
// in autocommit mode). So neither the status array nor the driver's own undoing is relied on:
// before each array a savepoint is taken; an array with any refused row is undone to it and sent
// again in halves, each after its own savepoint, down to single rows. A row counts as refused
// whenever the driver does not say it took it (RowsNotTaken: any status but success, or fewer
// rows processed than the array held). A single row refused for a reason of the array itself
// (ORA-01461, ORA-24816, ORA-22295, or any refusal of a row holding bytes for a BLOB) is sent
// once more with the row copy's INSERT (BuildInsertStatement). Exactly the rows the server
// refuses either way are left out and told to the observer; every other row arrives. A driver that
// has rolled the whole transaction back fails the table; and before the commit the table's rows are
// counted, so that no driver's undoing can leave out more than the refused rows unnoticed.
//
// `oracle` is an open ODBC connection with autocommit on (it is on again afterwards), with the
// decimal-point session setting made (BulkConnections::Open); `paradox` an open connection on the
// Paradox folder. Both are used on the calling thread only. Failures are returned, not thrown.
struct BulkTableCopy {
    Connection& oracle;
    Connection& paradox;
    QString table;
    BulkObserver* observer = nullptr;
    const StopRequest* stop = nullptr;
    BulkOptions options = {};
    // Runs on `oracle` once the rows are sent and counted, inside their transaction, with the
    // result so far (`arrived` set): what it writes there (the ledger's entry) is committed with
    // the rows or not at all. A failure it throws fails the table, which is rolled back.
    std::function<void(const BulkTableResult&)> beforeCommit = {};
    // Of the Oracle database the statements are for (BulkConnections reads them): a table or field
    // name it would refuse (too long, a character its set lacks) fails the table before CREATE
    // TABLE, as in the row copy.
    OracleDatabaseRules rules = {};
    // Drop the Oracle table of that name before CREATE TABLE (an overwrite), once the Paradox
    // table is open and its statements are built, so that a table that cannot be read leaves its
    // Oracle table as it was. A refused DROP is told in dropFailure and the copy goes on, as the
    // row copy does; a lost connection ends it.
    bool dropFirst = false;
    // How the Paradox table is read (another code page than its header's...).
    ParadoxTableOptions paradoxOptions = {};
    // What the statement reading the Paradox table names, when not `table`: the file's own name
    // where the folder holds the table in two files (T.DB and T.db).
    QString readName = {};
    // Oracle's own column types and exact values (native_statements.h), with the key and the
    // secondary indexes made once the rows are committed.
    bool native = false;
    // With native: each row is one INSERT of literal values (NativeLiteral; a long value bound),
    // the row-by-row form, instead of arrays of bound values.
    bool nativeLiterals = false;

    BulkTableResult Run();
};

}  // namespace quorvex
