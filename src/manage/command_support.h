#pragma once

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "shell/command_steps.h"
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
// Oracle would refuse or change (one holding a double quote, a character the database character
// set cannot hold, or more bytes than the server takes for a table name) raises a Failure that
// says so and ends with `outcome`, so no statement is sent.
QString QuotedName(const QString& name, const QString& outcome, const OracleDatabaseRules& rules);

// What the command's names are checked against, read from its Oracle connection right after it
// opened. Reading is a precaution of the command's own, not a step: a server that will not say
// leaves the rules of an AL32UTF8 database with names of up to 128 bytes.
OracleDatabaseRules ReadRulesQuietly(CommandSteps& steps,
                                     const std::unique_ptr<Connection>& connection);

}  // namespace quorvex
