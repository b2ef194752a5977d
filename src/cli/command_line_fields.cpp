#include "cli/command_line_fields.h"

#include "cli/exit_status.h"
#include "cli/interrupt_flag.h"
#include "shell/connection_settings.h"

namespace quorvex {

namespace {

const char kPasswordVariable[] = "QUORVEX_PASSWORD";

QString GivenOrSaved(const std::optional<QString>& given, const QString& key) {
    return given ? *given : GetConnectionSetting(key);
}

}  // namespace

CommandLineFields::CommandLineFields(const CommandLineOptions& options)
    : folder_(GivenOrSaved(options.folder, kParadoxFolderKey)),
      sid_(GivenOrSaved(options.sid, kServerKey)),
      user_(GivenOrSaved(options.user, kUserKey)) {}

bool CommandLineFields::FindPassword(Terminal& terminal) {
    password_ = GetConnectionSetting(kPasswordKey);
    if (!password_.isEmpty()) {
        return true;
    }
    if (qEnvironmentVariableIsSet(kPasswordVariable)) {
        password_ = qEnvironmentVariable(kPasswordVariable);
        return true;
    }
    if (!Terminal::CanAsk()) {
        return false;
    }
    const std::optional<QString> typed =
        terminal.Ask(QStringLiteral("Oracle password for %1: ").arg(user_), false);
    password_ = typed.value_or(QString());
    return typed.has_value();
}

std::optional<int> ReadyToStart(CommandLineFields& fields, bool readsParadox, bool reachesOracle,
                                Terminal& terminal) {
    if (readsParadox && fields.Text1().isEmpty()) {
        terminal.Message(
            QStringLiteral("quorvex: no Paradox folder: give --folder DIR (none is saved)."));
        return kExitUsage;
    }
    if (reachesOracle && !fields.FindPassword(terminal)) {
        if (interrupt_flag::Raised()) {
            return kExitInterrupted;
        }
        terminal.Message(Terminal::CanAsk()
                             ? QStringLiteral("quorvex: no Oracle password was typed.")
                             : QStringLiteral("quorvex: no Oracle password: none is saved, "
                                              "QUORVEX_PASSWORD is not set and there is no "
                                              "terminal to ask on."));
        return kExitUsage;
    }
    return std::nullopt;
}

}  // namespace quorvex
