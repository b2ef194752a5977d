#include "cli/command_line_options.h"

#include "shell/ui.h"

#include <QCommandLineParser>

namespace quorvex {

namespace {

const QString kSend = QStringLiteral("send");
const QString kList = QStringLiteral("list");

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")}, QString());
const QCommandLineOption kFolder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
const QCommandLineOption kSid(QStringLiteral("sid"), QString(), QStringLiteral("SID"));
const QCommandLineOption kUser(QStringLiteral("user"), QString(), QStringLiteral("USER"));
const QCommandLineOption kOverwrite(QStringLiteral("overwrite"), QString());
const QCommandLineOption kKeep(QStringLiteral("keep"), QString());
const QCommandLineOption kReport(QStringLiteral("report"), QString(), QStringLiteral("FILE"));
const QCommandLineOption kOracle(QStringLiteral("oracle"), QString());
const QCommandLineOption kParadox(QStringLiteral("paradox"), QString());

std::optional<QString> ValueIfSet(const QCommandLineParser& parser,
                                  const QCommandLineOption& option) {
    return parser.isSet(option) ? std::optional<QString>(parser.value(option)) : std::nullopt;
}

CommandLineOptions Usage(const QString& message) {
    CommandLineOptions options;
    options.usageError = message;
    return options;
}

}  // namespace

CommandLineOptions ParseCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        return arguments.size() <= 1 ? CommandLineOptions{}
                                     : Usage(QStringLiteral("--help takes no arguments."));
    }
    const QString& command = arguments.first();
    if (command != kSend && command != kList) {
        return Usage(command.startsWith(u'-')
                         ? QStringLiteral("Unknown option '%1'.").arg(command)
                         : QStringLiteral("Unknown command '%1'.").arg(command));
    }
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("--password"))) {
            return Usage(QStringLiteral(
                "The password is never taken from the command line: it comes from the saved "
                "settings, else from QUORVEX_PASSWORD, else it is asked for on the terminal."));
        }
    }
    QCommandLineParser parser;
    parser.addOptions({kHelp, kFolder, kSid, kUser});
    if (command == kSend) {
        parser.addOptions({kOverwrite, kKeep, kReport});
    } else {
        parser.addOptions({kOracle, kParadox});
    }
    // The parser takes the program's name first; the command stands in for it.
    if (!parser.parse(arguments)) {
        return Usage(parser.errorText());
    }

    CommandLineOptions options;
    options.command =
        command == kSend ? CommandLineOptions::Command::Send : CommandLineOptions::Command::List;
    options.help = parser.isSet(kHelp);
    options.folder = ValueIfSet(parser, kFolder);
    options.sid = ValueIfSet(parser, kSid);
    options.user = ValueIfSet(parser, kUser);
    options.tables = parser.positionalArguments();
    if (command == kSend) {
        if (parser.isSet(kOverwrite) && parser.isSet(kKeep)) {
            return Usage(QStringLiteral("--overwrite and --keep cannot be given together."));
        }
        if (parser.isSet(kOverwrite) || parser.isSet(kKeep)) {
            options.overwriteAnswer = parser.isSet(kOverwrite) ? vbYes : vbNo;
        }
        options.reportFile = parser.value(kReport);
        if (parser.isSet(kReport) && options.reportFile.isEmpty()) {
            return Usage(QStringLiteral("--report needs a file name."));
        }
    } else {
        if (!options.tables.isEmpty()) {
            return Usage(
                QStringLiteral("list takes no table names: '%1'.").arg(options.tables.first()));
        }
        if (parser.isSet(kOracle) && parser.isSet(kParadox)) {
            return Usage(
                QStringLiteral("--oracle and --paradox cannot be given together; "
                               "without either both sides are listed."));
        }
        options.listOracle = !parser.isSet(kParadox);
        options.listParadox = !parser.isSet(kOracle);
    }
    return options;
}

}  // namespace quorvex
