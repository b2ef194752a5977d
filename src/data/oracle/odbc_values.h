#pragma once

#include "data/core/value.h"

#include <QSqlError>
#include <QSqlField>
#include <QString>
#include <QVariant>

namespace quorvex {

// The ADO type code of a result column delivered by Qt's ODBC driver, from the column's ODBC SQL
// type (texts of a Unicode driver are adVarWChar, and so on), or from its Qt type when the ODBC
// type is one ADO has no code for.
int AdoTypeOfOdbcField(const QSqlField& field);

// A column value as a Value of the kind its ADO type calls for. Numbers arrive as exact text
// (the queries use high precision) and are converted here.
Value OdbcValue(const QVariant& value, int adoType, int scale);

// The text a failure is shown with: the driver's own message (the server's text), or Qt's
// wrapper text when the driver gave none.
QString OdbcErrorText(const QSqlError& error);

// A driver's message as a failure shows it: without trailing line breaks, and a plain sentence
// in place of an empty message.
QString OdbcMessageText(QString text);

}  // namespace quorvex
