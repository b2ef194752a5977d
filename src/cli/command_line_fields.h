#pragma once

#include "cli/command_line_options.h"
#include "cli/terminal.h"
#include "data/core/connection_fields.h"

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

    // Finds the password, for a command that reaches Oracle: QUORVEX_PASSWORD when it is set,
    // else the saved one, else asked for on the terminal itself (/dev/tty) without echo. False
    // when there is none to be had (no terminal, the input ended, Ctrl+C).
    bool FindPassword(Terminal& terminal);

    // Where the password came from, for a refused login: "the password came from
    // QUORVEX_PASSWORD"...
    QString PasswordSource() const { return passwordSource_; }

  private:
    QString folder_;
    QString sid_;
    QString user_;
    QString password_;
    QString passwordSource_;
};

// What a command needs before it starts: an existing folder when it reads Paradox tables; a SID
// and a user when it reaches Oracle. Tells what is missing on one line and returns the exit
// status to end with, or nullopt when the command can go on. `command` names it in the message
// ("send", "list").
std::optional<int> ReadyToStart(const CommandLineFields& fields, bool readsParadox,
                                bool reachesOracle, const QString& command, Terminal& terminal);

// The password, found as FindPassword finds it; the exit status to end with when there is none.
std::optional<int> PasswordFound(CommandLineFields& fields, const QString& command,
                                 Terminal& terminal);

}  // namespace quorvex
