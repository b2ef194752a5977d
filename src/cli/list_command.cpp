#include "cli/list_command.h"

#include "cli/command_line_fields.h"
#include "cli/exit_status.h"
#include "cli/interrupt_flag.h"
#include "cli/table_sides.h"

#include <unistd.h>

namespace quorvex {

namespace {

// The names one per line; under a heading (the frame's caption on the tables screen), indented,
// when both sides are printed.
QString Section(const MemoryTableList& list, const QString& heading, bool withHeading) {
    QString text = withHeading ? heading + QStringLiteral(":\n") : QString();
    for (const QString& name : list.Entries()) {
        text += (withHeading ? QStringLiteral("  ") : QString()) + name + u'\n';
    }
    return text;
}

}  // namespace

int RunList(const CommandLineOptions& options, Terminal& terminal) {
    CommandLineFields fields(options);
    if (const std::optional<int> status =
            ReadyToStart(fields, options.listParadox, options.listOracle, terminal)) {
        return *status;
    }
    // Nothing is left to finish once the password is in: Ctrl+C may end the listing at once.
    interrupt_flag::Release();

    const bool both = options.listOracle && options.listParadox;
    int status = kExitSuccess;
    QString output;
    if (options.listOracle) {
        MemoryTableList oracle;
        if (ListOracleSide(oracle, fields, terminal)) {
            output += Section(oracle, QStringLiteral("Oracle Tables"), both);
        } else {
            status = kExitIncomplete;
        }
    }
    if (options.listParadox) {
        MemoryTableList paradox;
        if (ListParadoxSide(paradox, fields, terminal)) {
            output += (both ? QStringLiteral("\n") : QString()) +
                      Section(paradox, QStringLiteral("Paradox Tables"), both);
        } else {
            status = kExitIncomplete;
        }
    }
    WriteAll(STDOUT_FILENO, output.toUtf8());
    return status;
}

}  // namespace quorvex
