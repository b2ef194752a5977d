#pragma once

#include "data/core/failure.h"
#include "data/oracle/odbc_statement.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

namespace quorvex {

// Rows of values for the "?" markers of one statement, held column by column, and executed on a
// run of those rows as one ODBC array of parameters (SQL_ATTR_PARAMSET_SIZE): the driver takes
// the whole run in one call, and a driver that can sends it in one exchange.
//
// Values are staged row after row, each row's values in marker order. They are kept packed as
// they come; only the run being executed is laid out in the fixed-width column buffers ODBC
// reads, each column as wide as its longest value in that run, so one long value costs the width
// of its own run and not of every row staged.
class OdbcParameterArrays {
  public:
    // How a marker's values are bound.
    enum class Bind {
        Text,        // UTF-16 text as SQL_WVARCHAR, its column size in characters
        LongBinary,  // bytes as SQL_LONGVARBINARY, the long binary bind Oracle documents for BLOB,
                     // its column size in bytes
    };

    explicit OdbcParameterArrays(std::vector<Bind> markers);
    ~OdbcParameterArrays();
    OdbcParameterArrays(const OdbcParameterArrays&) = delete;
    OdbcParameterArrays& operator=(const OdbcParameterArrays&) = delete;

    // The next value of the row being staged; a row is complete once every marker has one.
    void AddNull();
    void AddText(QStringView text);       // for a Text marker
    void AddBytes(QByteArrayView bytes);  // for a LongBinary marker

    int RowCount() const { return rows_; }
    // The bytes of the values staged so far (texts in UTF-16).
    qsizetype StagedBytes() const;
    // The bytes the run first .. first + count - 1 takes laid out for the driver: each column as
    // wide as its longest value in the run, times the rows.
    qsizetype LaidOutBytes(int first, int count) const;
    // Forgets the staged rows, keeping the memory for the next ones.
    void Clear();

    // A staged value as it was given: nullopt for NULL. Texts for Text markers, bytes otherwise.
    std::optional<QString> TextAt(int row, int marker) const;
    std::optional<QByteArray> BytesAt(int row, int marker) const;

    // Executes `statement` once for the staged rows first .. first + count - 1, on a statement
    // handle of its own on `connection` (an ODBC SQLHDBC; the same one on every call). Returns
    // nothing when the driver took every row of the run (RowsNotTaken), else the failure with the
    // driver's message, or which rows it did not take when it gave none (a lost connection
    // flagged as such). What a failed run leaves of its rows depends on
    // the driver; the caller undoes it (a savepoint) before trying them again.
    std::optional<Failure> Execute(void* connection, const QString& statement, int first,
                                   int count);

  private:
    struct Column {
        Bind bind;
        std::vector<char> data;        // the values, one after another
        std::vector<qsizetype> start;  // per row: where its value begins in data
        std::vector<long> length;      // per row: its length in bytes, or -1 for NULL
        std::vector<char> laidOut;     // the run being executed, fixed width
        std::vector<long> indicators;  // the run's lengths as ODBC reads them
    };

    void Add(const char* bytes, qsizetype size, bool null);
    static qsizetype Width(const Column& column, int first, int count);
    static void LayOut(Column& column, int first, int count, qsizetype width);

    std::vector<Column> columns_;
    std::size_t nextMarker_ = 0;
    int rows_ = 0;
    std::unique_ptr<OdbcStatement> statement_;
    std::vector<unsigned short> status_;  // what the driver says of each row of the run
    unsigned long processed_ = 0;         // how many rows of the run it went through
};

// What a driver's answer for an array of rows says of them: nothing when it took every row (each
// status SQL_PARAM_SUCCESS or SQL_PARAM_SUCCESS_WITH_INFO, and at least as many processed as the
// array holds), else which rows it did not take, worded for a report. Any other status (an error,
// a row left unused, one whose diagnostics are unavailable) and every row beyond the processed
// count is a row not taken: drivers differ in what they mark, and none may be taken on trust.
std::optional<QString> RowsNotTaken(const std::vector<unsigned short>& statuses,
                                    unsigned long processed);

// Autocommit of an ODBC connection handle: off, its statements form one transaction until
// EndOdbcTransaction. Both throw Failure with the driver's message (a lost connection flagged).
void SetOdbcAutoCommit(void* connection, bool on);
void EndOdbcTransaction(void* connection, bool commit);

}  // namespace quorvex
