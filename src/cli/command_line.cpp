#include "cli/command_line.h"

#include "cli/command_line_options.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/interrupt_flag.h"
#include "cli/list_command.h"
#include "cli/send_command.h"
#include "cli/terminal.h"
#include "cli/verify_command.h"
#include "shell/ui.h"

#include <QCoreApplication>

#include <unistd.h>

namespace quorvex {

namespace {

QString HelpFor(const CommandLineOptions& options) {
    switch (options.command) {
        case CommandLineOptions::Command::Send:
            return SendHelpText();
        case CommandLineOptions::Command::List:
            return ListHelpText();
        case CommandLineOptions::Command::Verify:
            return VerifyHelpText();
        case CommandLineOptions::Command::Help:
        case CommandLineOptions::Command::Version:
            break;
    }
    return ProgramHelpText();
}

QString HelpHint(const QStringList& arguments) {
    const QString command = arguments.value(0);
    if (command == QLatin1String("send") || command == QLatin1String("list") ||
        command == QLatin1String("verify")) {
        return QStringLiteral("Try 'quorvex %1 --help'.").arg(command);
    }
    return QStringLiteral("Try 'quorvex --help'.");
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kApplicationTitle);
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }

    Terminal terminal;
    const CommandLineOptions options = ParseCommandLine(arguments);
    if (!options.usageError.isEmpty()) {
        // One line, so that a script's log shows the whole reason.
        terminal.Message(QStringLiteral("quorvex: ") + options.usageError + u' ' +
                         HelpHint(arguments));
        return kExitUsage;
    }
    if (options.command == CommandLineOptions::Command::Version) {
        WriteAll(STDOUT_FILENO, QStringLiteral("quorvex %1\n").arg(ProgramVersion()).toUtf8());
        return kExitSuccess;
    }
    if (options.help || options.command == CommandLineOptions::Command::Help) {
        WriteAll(STDOUT_FILENO, HelpFor(options).toUtf8());
        return kExitSuccess;
    }
    interrupt_flag::Install();
    switch (options.command) {
        case CommandLineOptions::Command::Send:
            return RunSend(options, terminal);
        case CommandLineOptions::Command::Verify:
            return RunVerify(options, terminal);
        default:
            return RunList(options, terminal);
    }
}

}  // namespace quorvex
