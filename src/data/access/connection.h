#pragma once

#include "data/core/ado_types.h"
#include "data/core/record_source.h"
#include "data/paradox_driver/paradox_table_door.h"

#include <QString>

#include <memory>
#include <vector>

namespace quorvex {

// A database connection opened with an ODBC connection string. The Driver={...} name selects
// the driver: our Paradox reader for the Paradox driver name, otherwise unixODBC through Qt SQL.
// Failures raise Failure with the driver's own message. Destroying an open connection closes it.
class Connection {
  public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Set before Open: adUseServer (2, the default) or adUseClient (3). With adUseClient every
    // recordset knows its exact RecordCount before its first row is read.
    void SetCursorLocation(int location) { cursorLocation_ = location; }
    int CursorLocation() const { return cursorLocation_; }

    void Open(const QString& connectionString);
    void Execute(const QString& statement);  // the result is not used
    // The same for a statement whose "?" markers stand for `boundValues`, in order. Without
    // bound values this is Execute(statement).
    void Execute(const QString& statement, const std::vector<Value>& boundValues);
    void Close();
    bool IsOpen() const { return driver_ != nullptr; }

    // The longest table and column names the open connection's data source takes, as its driver
    // says (ODBC's SQL_MAX_TABLE_NAME_LEN and SQL_MAX_COLUMN_NAME_LEN); 0 when it does not say.
    int MaxTableNameLength();
    int MaxColumnNameLength();
    // The ODBC connection handle (SQLHDBC) of an open connection through unixODBC, for the bulk
    // copy's arrays of bound values and its transactions; null for the Paradox driver. Valid
    // until the connection closes, on the thread that opened it.
    void* OdbcConnectionHandle();

    // Opens a table of a connection to a Paradox folder through the reader's typed door, with
    // options of reading and the facts the reader knows; Failure on any other connection.
    OpenedParadoxTable OpenParadoxTable(const QString& name,
                                        const ParadoxTableOptions& options = {});

    // For Recordset: runs a query on the open connection.
    std::unique_ptr<RecordSource> Query(const QString& statement);

  private:
    void RequireOpen() const;

    int cursorLocation_ = adUseServer;
    std::unique_ptr<DriverConnection> driver_;
};

// The result of a query, standing on its first row after Open.
class Recordset {
  public:
    void Open(const QString& source, Connection& activeConnection);
    // Stands on rows opened otherwise (a Paradox table opened through its door).
    void Open(std::unique_ptr<RecordSource> rows);
    int FieldCount() const;
    QString FieldName(int index) const;
    int FieldType(int index) const;
    Value FieldValue(int index) const;
    std::int64_t RecordCount() const;
    bool Eof() const;
    void MoveNext();
    void Close();
    bool IsOpen() const { return source_ != nullptr; }
    // What the reader knows of the table, when the rows are a Paradox table's; else null.
    const ParadoxTableFacts* ParadoxFacts() const;

  private:
    const RecordSource& Require() const;
    RecordSource& Require();

    std::unique_ptr<RecordSource> source_;
};

}  // namespace quorvex
