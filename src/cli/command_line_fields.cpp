#include "cli/command_line_fields.h"

#include "cli/exit_status.h"
#include "cli/interrupt_flag.h"
#include "data/folder/path_case.h"
#include "shell/connection_settings.h"
#include "shell/settings_store.h"

#include <QFileInfo>

namespace quorvex {

namespace {

const char kPasswordVariable[] = "QUORVEX_PASSWORD";

QString GivenOrSaved(const std::optional<QString>& given, const QString& key) {
    return given ? *given : GetConnectionSetting(key);
}

// Why the folder cannot be read as a Paradox folder; empty when it can.
QString FolderProblem(const QString& folder) {
    const QFileInfo found(ResolvePathIgnoringCase(folder));
    if (!found.exists()) {
        return QStringLiteral("the Paradox folder %1 does not exist.").arg(folder);
    }
    if (!found.isDir()) {
        return QStringLiteral(
                   "%1 is not a folder: --folder names the folder that holds the "
                   "Paradox tables.")
            .arg(folder);
    }
    return QString();
}

}  // namespace

CommandLineFields::CommandLineFields(const CommandLineOptions& options)
    : folder_(GivenOrSaved(options.folder, kParadoxFolderKey)),
      sid_(GivenOrSaved(options.sid, kServerKey)),
      user_(GivenOrSaved(options.user, kUserKey)) {}

bool CommandLineFields::FindPassword(Terminal& terminal) {
    // As PGPASSWORD for psql: the environment of this run wins over what was saved for all.
    if (!qEnvironmentVariableIsEmpty(kPasswordVariable)) {
        password_ = qEnvironmentVariable(kPasswordVariable);
        passwordSource_ = QStringLiteral("the password came from %1").arg(kPasswordVariable);
        return true;
    }
    password_ = GetConnectionSetting(kPasswordKey);
    if (!password_.isEmpty()) {
        passwordSource_ = QStringLiteral("the password is the one the window saved in %1")
                              .arg(SettingsFilePath(kSettingsApp));
        return true;
    }
    const std::optional<QString> typed =
        terminal.AskOnTerminalDevice(QStringLiteral("Oracle password for %1: ").arg(user_));
    password_ = typed.value_or(QString());
    passwordSource_ = QStringLiteral("the password was typed at the prompt");
    return typed.has_value();
}

std::optional<int> ReadyToStart(const CommandLineFields& fields, bool readsParadox,
                                bool reachesOracle, const QString& command, Terminal& terminal) {
    QString problem;
    if (readsParadox) {
        problem = fields.Text1().isEmpty()
                      ? QStringLiteral(
                            "no Paradox folder: give --folder DIR (or choose it once in "
                            "the window, which saves it).")
                      : FolderProblem(fields.Text1());
    }
    if (problem.isEmpty() && reachesOracle && fields.Text2().isEmpty()) {
        problem = QStringLiteral(
            "no Oracle SID: give --sid SID (or type it once in the window, which saves it).");
    }
    if (problem.isEmpty() && reachesOracle && fields.Text3().isEmpty()) {
        problem = QStringLiteral(
            "no Oracle user: give --user USER (or type it once in the window, which saves "
            "it).");
    }
    if (!problem.isEmpty()) {
        terminal.Message(QStringLiteral("quorvex %1: ").arg(command) + problem);
        return kExitUsage;
    }
    return std::nullopt;
}

std::optional<int> PasswordFound(CommandLineFields& fields, const QString& command,
                                 Terminal& terminal) {
    if (!fields.FindPassword(terminal)) {
        if (interrupt_flag::Raised()) {
            return kExitSignalBase + interrupt_flag::Signal();
        }
        terminal.Message(QStringLiteral("quorvex %1: ").arg(command) +
                         QStringLiteral("no Oracle password: set QUORVEX_PASSWORD, save one in "
                                        "the window, or run on a terminal to type it."));
        return kExitUsage;
    }
    return std::nullopt;
}

}  // namespace quorvex
