#pragma once

#include "data/core/value.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace quorvex {

// The result of one statement as a driver delivers it, standing on its first row. A Recordset
// wraps one of these. Every method may throw Failure.
class RecordSource {
  public:
    virtual ~RecordSource() = default;
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int index) const = 0;
    virtual int fieldType(int index) const = 0;    // an AdoType code
    virtual Value fieldValue(int index) = 0;       // of the current row; throws past the end
    virtual std::int64_t recordCount() const = 0;  // exact, known before the first row is read
    virtual bool atEnd() const = 0;
    virtual void moveNext() = 0;
};

// One open connection of a driver. Connection selects the driver by the connection string's
// Driver name and forwards to one of these.
class DriverConnection {
  public:
    virtual ~DriverConnection() = default;
    // Runs a statement whose result is not used.
    virtual void execute(const QString& statement) = 0;
    // The same for a statement whose "?" markers stand for values bound in their place, in
    // order (texts and bytes).
    virtual void executeBound(const QString& statement, const std::vector<Value>& values) = 0;
    // Runs a query; cursorLocation is adUseServer or adUseClient.
    virtual std::unique_ptr<RecordSource> query(const QString& statement, int cursorLocation) = 0;
    // The longest table or column name the data source takes, as its driver says; 0 when the
    // driver does not say.
    virtual int maxTableNameLength() { return 0; }
    virtual int maxColumnNameLength() { return 0; }
    // The ODBC connection handle (SQLHDBC) behind an ODBC connection, for work Qt SQL does not
    // offer (arrays of bound values, transactions); null for a driver of the program's own.
    virtual void* odbcConnectionHandle() { return nullptr; }
};

}  // namespace quorvex
