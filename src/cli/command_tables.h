#pragma once

#include "cli/command_line_fields.h"
#include "cli/command_line_options.h"
#include "cli/folder_tables.h"
#include "cli/memory_table_list.h"
#include "cli/terminal.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace quorvex {

// What a command on the folder's tables and their Oracle tables (send, verify) works on.
struct CommandTables {
    std::optional<FolderTables> folder;
    QStringList chosen;      // the folder's own tables to work on, in the list's order
    MemoryTableList oracle;  // the Oracle login's tables
};

// Everything given to such a command, checked before anything is changed, in this order: the
// folder and the login fields, `problem` (a command's own reason not to start; empty for none),
// the files to write (`files`: each option with its path, an empty path for none), the table
// names; then the password, and both sides listed. A wrong option, name, folder, path or login
// ends the run with one line on the terminal and status 2; a folder without tables or a side
// that cannot be listed with status 1. Returns that status, or nullopt with `tables` filled.
std::optional<int> FindCommandTables(const CommandLineOptions& options, const QString& command,
                                     const QString& problem,
                                     const std::vector<std::pair<QString, QString>>& files,
                                     CommandLineFields& fields, CommandTables& tables,
                                     Terminal& terminal);

}  // namespace quorvex
