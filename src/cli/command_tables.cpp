#include "cli/command_tables.h"

#include "cli/exit_status.h"
#include "cli/table_sides.h"
#include "cli/writable_path.h"

namespace quorvex {

std::optional<int> FindCommandTables(const CommandLineOptions& options, const QString& command,
                                     const QString& problem,
                                     const std::vector<std::pair<QString, QString>>& files,
                                     CommandLineFields& fields, CommandTables& tables,
                                     Terminal& terminal) {
    const auto usage = [&](const QString& text) {
        terminal.Message(QStringLiteral("quorvex %1: ").arg(command) + text);
        return kExitUsage;
    };
    if (const std::optional<int> status = ReadyToStart(fields, true, true, command, terminal)) {
        return status;
    }
    if (!problem.isEmpty()) {
        return usage(problem);
    }
    for (const auto& [option, file] : files) {
        if (const QString why = file.isEmpty() ? QString() : WhyNotWritable(file); !why.isEmpty()) {
            return usage(QStringLiteral("%1: %2.").arg(option, why));
        }
    }
    tables.folder = ListParadoxSide(fields, terminal);
    if (!tables.folder) {
        return kExitIncomplete;
    }
    if (const std::optional<QString> wrong =
            tables.folder->ChooseTables(options.tables, fields.Text1(), command, tables.chosen)) {
        return usage(*wrong);
    }
    if (tables.chosen.isEmpty()) {
        terminal.Message(
            tables.folder->InSubfolders().empty()
                ? QStringLiteral("quorvex %1: %2 holds no Paradox tables.")
                      .arg(command, fields.Text1())
                : QStringLiteral("quorvex %1: %2 holds no Paradox tables of its own; its "
                                 "subfolders do: give --folder for each (quorvex list --paradox "
                                 "--json names their folders).")
                      .arg(command, fields.Text1()));
        return kExitIncomplete;
    }
    if (const std::optional<int> status = PasswordFound(fields, command, terminal)) {
        return status;
    }
    if (!ListOracleSide(tables.oracle, fields, terminal)) {
        return kExitIncomplete;
    }
    return std::nullopt;
}

}  // namespace quorvex
