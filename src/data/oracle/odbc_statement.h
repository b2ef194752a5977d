#pragma once

#include "data/core/failure.h"

#include <QString>

namespace quorvex {

// Every diagnostic record of an ODBC handle (SQL_HANDLE_STMT, SQL_HANDLE_DBC, ...), joined by
// blanks as Qt SQL joins them for its own errors, as a failure shows it (OdbcMessageText).
QString OdbcDiagnosticText(short handleType, void* handle);

// A statement handle of the program's own on an ODBC connection handle (SQLHDBC), for work Qt
// SQL does not offer. Freed when destroyed.
class OdbcStatement {
  public:
    // Throws Failure with the driver's message when no handle can be allocated.
    explicit OdbcStatement(void* connection);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    void* get() const { return handle_; }
    void* connection() const { return connection_; }

    // A failed call (anything but success, success with information and no data) raises the
    // driver's message, as a lost connection when it is one (OdbcHandleFailure).
    void Check(short result) const;
    // The failure of the last call on this statement, read from its diagnostics.
    Failure LastFailure() const;

  private:
    void* connection_;
    void* handle_ = nullptr;
};

}  // namespace quorvex
