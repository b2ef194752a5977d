#pragma once

#include <QString>

#include <functional>

namespace quorvex {

// The table name a table file stands for: its name in upper case one character at a time
// (UpperCaseName), so that it leads back to the file, without its final ".DB".
QString TableNameOfFile(const QString& fileName);

// Every table LoadParadoxTables lists from `folder`, in the order it adds them: the subfolder its
// file was found in (relative to `folder`, "/" between names; empty for the folder itself), the
// table name and, where the same folder holds another file of that table name, the file's name
// (empty otherwise). Failures raise Failure.
using ParadoxTableVisitor =
    std::function<void(const QString& subfolder, const QString& table, const QString& twinFile)>;
void ForEachParadoxTable(const QString& folder, const ParadoxTableVisitor& visit);

}  // namespace quorvex
