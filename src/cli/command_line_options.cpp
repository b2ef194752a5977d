#include "cli/command_line_options.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace quorvex {

namespace {

const QString kSend = QStringLiteral("send");
const QString kList = QStringLiteral("list");
const QString kVerify = QStringLiteral("verify");

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")}, QString());
const QCommandLineOption kFolder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
const QCommandLineOption kSid(QStringLiteral("sid"), QString(), QStringLiteral("SID"));
const QCommandLineOption kUser(QStringLiteral("user"), QString(), QStringLiteral("USER"));
const QCommandLineOption kOverwrite(QStringLiteral("overwrite"), QString());
const QCommandLineOption kKeep(QStringLiteral("keep"), QString());
const QCommandLineOption kResume(QStringLiteral("resume"), QString());
const QCommandLineOption kDryRun(QStringLiteral("dry-run"), QString());
const QCommandLineOption kReport(QStringLiteral("report"), QString(), QStringLiteral("FILE"));
const QCommandLineOption kRejects(QStringLiteral("rejects"), QString(), QStringLiteral("FILE"));
const QCommandLineOption kOracle(QStringLiteral("oracle"), QString());
const QCommandLineOption kParadox(QStringLiteral("paradox"), QString());
const QCommandLineOption kJson(QStringLiteral("json"), QString());
const QCommandLineOption kBulk(QStringLiteral("bulk"), QString());
const QCommandLineOption kNative(QStringLiteral("native"), QString());
const QCommandLineOption kJobs(QStringLiteral("jobs"), QString(), QStringLiteral("N"));
const QCommandLineOption kCodePage(QStringLiteral("code-page"), QString(), QStringLiteral("N"));

std::optional<QString> ValueIfSet(const QCommandLineParser& parser,
                                  const QCommandLineOption& option) {
    return parser.isSet(option) ? std::optional<QString>(parser.value(option)) : std::nullopt;
}

CommandLineOptions Usage(const QString& message) {
    CommandLineOptions options;
    options.usageError = message;
    return options;
}

// The first argument that names none of `options`, as it was typed (without a value after
// "="); empty when every option is known. The value after an option that takes one is no
// option, and everything after "--" is a table name.
QString UnknownOption(const QStringList& arguments, const QList<QCommandLineOption>& options) {
    QStringList known;
    QStringList takingValues;
    for (const QCommandLineOption& option : options) {
        for (const QString& name : option.names()) {
            const QString typed =
                (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
            known.append(typed);
            if (!option.valueName().isEmpty()) {
                takingValues.append(typed);
            }
        }
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            break;
        }
        if (argument.size() > 1 && argument.startsWith(u'-')) {
            const QString name = argument.section(u'=', 0, 0);
            if (!known.contains(name)) {
                return name;
            }
            if (takingValues.contains(name) && !argument.contains(u'=')) {
                ++i;
            }
        }
    }
    return QString();
}

// The option a value belongs to, with its dashes, in Qt's message about a missing or unexpected
// value ("Missing value after 'folder'.").
QString WithDashes(QString message) {
    static const QRegularExpression bareName(QStringLiteral("'([A-Za-z][A-Za-z-]+)'"));
    return message.replace(bareName, QStringLiteral("'--\\1'"));
}

std::optional<QString> ExclusiveOptions(const QCommandLineParser& parser,
                                        const QList<QCommandLineOption>& options) {
    QStringList given;
    for (const QCommandLineOption& option : options) {
        if (parser.isSet(option)) {
            given.append(QStringLiteral("--") + option.names().constLast());
        }
    }
    if (given.size() < 2) {
        return std::nullopt;
    }
    return given.join(QStringLiteral(" and ")) + QStringLiteral(" cannot be given together.");
}

// Why a table name given cannot be one of the folder's own tables; empty when each can.
QString NotATableName(const QStringList& tables) {
    for (const QString& table : tables) {
        if (table.isEmpty() || table.contains(u'/')) {
            return QStringLiteral(
                       "'%1' is not a table name: name a table of the folder (give "
                       "--folder for another folder).")
                .arg(table);
        }
    }
    return QString();
}

}  // namespace

CommandLineOptions ParseCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return CommandLineOptions{};
    }
    const QString& command = arguments.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("--version")) {
        if (arguments.size() > 1) {
            return Usage(QStringLiteral("%1 takes no arguments.").arg(command));
        }
        CommandLineOptions options;
        options.command = command == QLatin1String("--version")
                              ? CommandLineOptions::Command::Version
                              : CommandLineOptions::Command::Help;
        return options;
    }
    if (command != kSend && command != kList && command != kVerify) {
        return Usage(command.startsWith(u'-')
                         ? QStringLiteral("Unknown option '%1'.").arg(command)
                         : QStringLiteral("Unknown command '%1'.").arg(command));
    }
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("--password"))) {
            return Usage(QStringLiteral(
                "The password is never taken from the command line: it comes from "
                "QUORVEX_PASSWORD, else from the saved settings, else it is asked for on the "
                "terminal."));
        }
    }
    QList<QCommandLineOption> accepted{kHelp, kFolder, kSid, kUser};
    if (command == kSend) {
        accepted += {kOverwrite, kKeep, kResume, kDryRun,   kReport,
                     kRejects,   kBulk, kJobs,   kCodePage, kNative};
    } else if (command == kVerify) {
        accepted += {kReport, kJobs, kCodePage, kNative};
    } else {
        accepted += {kOracle, kParadox, kJson};
    }
    if (const QString unknown = UnknownOption(arguments, accepted); !unknown.isEmpty()) {
        return Usage(QStringLiteral("Unknown option '%1'.").arg(unknown));
    }
    QCommandLineParser parser;
    parser.addOptions(accepted);
    // The parser takes the program's name first; the command stands in for it.
    if (!parser.parse(arguments)) {
        return Usage(WithDashes(parser.errorText()));
    }

    CommandLineOptions options;
    options.command = command == kSend     ? CommandLineOptions::Command::Send
                      : command == kVerify ? CommandLineOptions::Command::Verify
                                           : CommandLineOptions::Command::List;
    options.help = parser.isSet(kHelp);
    options.folder = ValueIfSet(parser, kFolder);
    options.sid = ValueIfSet(parser, kSid);
    options.user = ValueIfSet(parser, kUser);
    options.tables = parser.positionalArguments();
    if (command == kList) {
        if (!options.tables.isEmpty()) {
            return Usage(
                QStringLiteral("list takes no table names: '%1'.").arg(options.tables.first()));
        }
        if (const auto both = ExclusiveOptions(parser, {kOracle, kParadox})) {
            return Usage(*both + QStringLiteral(" Without either, both sides are listed."));
        }
        options.listOracle = !parser.isSet(kParadox);
        options.listParadox = !parser.isSet(kOracle);
        options.json = parser.isSet(kJson);
        return options;
    }

    if (parser.isSet(kJobs)) {
        bool whole = false;
        options.jobs = parser.value(kJobs).toInt(&whole);
        if (!whole || options.jobs < 1 || options.jobs > kMostJobs) {
            return Usage(QStringLiteral("--jobs takes a number of tables at a time from 1 to %1, "
                                        "not '%2'.")
                             .arg(QString::number(kMostJobs), parser.value(kJobs)));
        }
    }
    if (parser.isSet(kCodePage)) {
        bool whole = false;
        const int codePage = parser.value(kCodePage).toInt(&whole);
        if (!whole || !IsKnownParadoxCodePage(codePage)) {
            return Usage(QStringLiteral("--code-page takes a code page the Paradox reader knows "
                                        "(such as 1251 or 936), not '%1'.")
                             .arg(parser.value(kCodePage)));
        }
        options.codePage = codePage;
    }
    options.reportFile = parser.value(kReport);
    if (parser.isSet(kReport) && options.reportFile.isEmpty()) {
        return Usage(QStringLiteral("--report needs a file name."));
    }
    if (const QString wrong = NotATableName(options.tables); !wrong.isEmpty()) {
        return Usage(wrong);
    }
    options.native = parser.isSet(kNative);
    if (command == kVerify) {
        return options;
    }

    options.bulk = parser.isSet(kBulk);
    if (parser.isSet(kJobs) && !options.bulk) {
        return Usage(
            QStringLiteral("--jobs sends several tables at once in bulk: give --bulk "
                           "with it."));
    }
    if (const auto clash = ExclusiveOptions(parser, {kOverwrite, kKeep, kResume})) {
        return Usage(*clash);
    }
    if (parser.isSet(kOverwrite)) {
        options.existing = CommandLineOptions::Existing::Overwrite;
    } else if (parser.isSet(kKeep)) {
        options.existing = CommandLineOptions::Existing::Keep;
    } else if (parser.isSet(kResume)) {
        options.existing = CommandLineOptions::Existing::Resume;
    }
    options.dryRun = parser.isSet(kDryRun);
    options.rejectsFile = parser.value(kRejects);
    if (parser.isSet(kRejects) && options.rejectsFile.isEmpty()) {
        return Usage(QStringLiteral("--rejects needs a file name."));
    }
    if (options.dryRun && !options.rejectsFile.isEmpty()) {
        return Usage(
            QStringLiteral("--rejects records the rows a send refused; --dry-run sends "
                           "none (its report names them)."));
    }
    if (!options.reportFile.isEmpty() && options.reportFile == options.rejectsFile) {
        return Usage(QStringLiteral("--report and --rejects name the same file."));
    }
    return options;
}

}  // namespace quorvex
