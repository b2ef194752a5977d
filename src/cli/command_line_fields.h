#pragma once

#include "cli/command_line_options.h"
#include "cli/terminal.h"
#include "data/connection_fields.h"

#include <optional>

namespace quorvex {

// The connection fields of a command-line run: each field given as an option, else the one the
// window saved. They are read as the window's fields are, exactly as they stand.
class CommandLineFields : public ConnectionFields {
  public:
    explicit CommandLineFields(const CommandLineOptions& options);

    QString Text1() const override { return folder_; }
    QString Text2() const override { return sid_; }
    QString Text3() const override { return user_; }
    QString Text4() const override { return password_; }

    // Finds the password, for a command that reaches Oracle: the saved one, else
    // QUORVEX_PASSWORD, else asked for on the terminal without echo. False when there is none
    // to be had (no terminal, the input ended, Ctrl+C).
    bool FindPassword(Terminal& terminal);

  private:
    QString folder_;
    QString sid_;
    QString user_;
    QString password_;
};

// What a command needs before it starts: a folder when it reads Paradox tables, a password when
// it reaches Oracle. Tells what is missing and returns the exit status to end with, or nullopt
// when the command can go on.
std::optional<int> ReadyToStart(CommandLineFields& fields, bool readsParadox, bool reachesOracle,
                                Terminal& terminal);

}  // namespace quorvex
