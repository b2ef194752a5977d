#pragma once

#include "data/paradox_driver/paradox_table_door.h"
#include "transfer/kept_tables.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvex {

// What the command line asks for, read from the arguments after the program's name.
struct CommandLineOptions {
    enum class Command { Help, Version, Send, List, Verify };
    Command command = Command::Help;
    bool help = false;  // `send --help`, `list --help`: the command's own help
    // The connection fields given; the others come from the saved settings.
    std::optional<QString> folder;
    std::optional<QString> sid;
    std::optional<QString> user;

    // send: what becomes of a selected table that is already in Oracle: asked on the terminal,
    // --overwrite, --keep or --resume.
    using Existing = ExistingTable;
    Existing existing = Existing::Ask;
    bool dryRun = false;  // send --dry-run: read and check everything, change nothing
    QString reportFile;   // send, verify: where the JSON report goes; empty for none
    QString rejectsFile;  // send: where each refused row goes as a JSON line; empty for none
    QStringList tables;   // send, verify: the tables named; empty for all of the folder's own
    // send --bulk: each table's rows as arrays of bound values in one transaction per table.
    bool bulk = false;
    int jobs = 1;  // send --bulk, verify: how many tables at a time, each on its own connections
    // send, verify --native: each table with Oracle's own column types, its values exact, its key
    // and indexes made after the rows; verify compares the Paradox values themselves.
    bool native = false;
    // send, verify: --code-page N reads every Paradox table's text in code page N instead of the
    // one its header names (a code page the reader knows, checked here).
    std::optional<int> codePage;
    // list: the sides to print, and how.
    bool listOracle = true;
    bool listParadox = true;
    bool json = false;

    QString usageError;  // set when the arguments cannot be used; then nothing else counts
};

// The most tables --jobs sends or verifies at a time: each holds two connections and a server
// session of its own.
constexpr int kMostJobs = 64;

CommandLineOptions ParseCommandLine(const QStringList& arguments);

// How the options say the Paradox tables are read.
inline ParadoxTableOptions ReadingOptions(const CommandLineOptions& options) {
    return ParadoxTableOptions{options.codePage};
}

}  // namespace quorvex
