#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvex {

// What the command line asks for, read from the arguments after the program's name.
struct CommandLineOptions {
    enum class Command { Help, Send, List };
    Command command = Command::Help;
    bool help = false;  // `send --help`, `list --help`: the command's own help
    // The connection fields given; the others come from the saved settings.
    std::optional<QString> folder;
    std::optional<QString> sid;
    std::optional<QString> user;
    // send: the answer to every overwrite question (vbYes, vbNo), or nullopt to ask.
    std::optional<int> overwriteAnswer;
    QString reportFile;  // send: where the JSON summary goes; empty for none
    QStringList tables;  // send: the tables named; empty for all
    // list: the sides to print.
    bool listOracle = true;
    bool listParadox = true;

    QString usageError;  // set when the arguments cannot be used; then nothing else counts
};

CommandLineOptions ParseCommandLine(const QStringList& arguments);

}  // namespace quorvex
