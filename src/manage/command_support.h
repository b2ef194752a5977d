#pragma once

#include "data/connection.h"
#include "shell/ui.h"

#include <QString>

#include <memory>

namespace quorvex {

// The connection object a command created in its first step; raises a failure, as using an
// object that was never created would, when that step failed.
Connection& RequireConnection(const std::unique_ptr<Connection>& connection);

// A message of the delete and rename commands: OK button, no icon, the application title.
void ShowMessage(Dialogs& dialogs, const QString& text);

// Asks for the new name of a table, pre-filled with its current name. "" means Cancel.
QString AskNewName(Dialogs& dialogs, const QString& oldName);

// A table name as a quoted identifier: between double quotes, nothing inside escaped. A name
// Oracle would refuse (one holding a double quote, or over 128 bytes in UTF-8) raises a Failure
// that says so and ends with `outcome`, so no statement is sent.
QString QuotedName(const QString& name, const QString& outcome);

}  // namespace quorvex
