#pragma once

#include "data/connection_fields.h"
#include "data/table_list.h"

#include <QString>

#include <functional>

namespace quorvex {

// Clears `list` and fills it with the tables of the Oracle login's own schema, in the case the
// server reports them; the first entry becomes the current one. Failures raise Failure; entries
// added before a failure stay.
void LoadOracleTables(TableList& list, const ConnectionFields& fields);

// Adds the Paradox tables found in the Paradox folder and all its subfolders: each "*.db" file
// name (names starting with "~" left out) in upper case without its final ".DB". Nothing is
// cleared, sorted or made current; an empty folder field adds nothing. Failures raise Failure.
void LoadParadoxTables(TableList& list, const ConnectionFields& fields);

// The table name a table file stands for: its name in upper case one character at a time
// (UpperCaseName), so that it leads back to the file, without its final ".DB".
QString TableNameOfFile(const QString& fileName);

// Every table LoadParadoxTables lists from `folder`, in the order it adds them: the subfolder its
// file was found in (relative to `folder`, "/" between names; empty for the folder itself) and
// the table name. Failures raise Failure.
using ParadoxTableVisitor = std::function<void(const QString& subfolder, const QString& table)>;
void ForEachParadoxTable(const QString& folder, const ParadoxTableVisitor& visit);

}  // namespace quorvex
