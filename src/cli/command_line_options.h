#pragma once

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

    // send: what becomes of a selected table that is already in Oracle.
    enum class Existing {
        Ask,        // the overwrite question, on the terminal
        Overwrite,  // --overwrite: dropped and sent again
        Keep,       // --keep: left as it is, its rows counted
        Resume,     // --resume: kept when complete, else dropped and sent again
    };
    Existing existing = Existing::Ask;
    bool dryRun = false;  // send --dry-run: read and check everything, change nothing
    QString reportFile;   // send, verify: where the JSON report goes; empty for none
    QString rejectsFile;  // send: where each refused row goes as a JSON line; empty for none
    QStringList tables;   // send, verify: the tables named; empty for all of the folder's own
    // send --bulk: each table's rows as arrays of bound values in one transaction per table.
    bool bulk = false;
    int jobs = 1;  // send --bulk, verify: how many tables at a time, each on its own connections
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

}  // namespace quorvex
