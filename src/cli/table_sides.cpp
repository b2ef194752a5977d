#include "cli/table_sides.h"

#include "data/oracle/odbc_driver_resolution.h"
#include "shell/table_listing.h"
#include "shell/command_steps.h"

namespace quorvex {

namespace {

void TellListingFailed(const QString& side, const std::exception& failure, const QString& more,
                       Terminal& terminal) {
    terminal.Message(QStringLiteral("quorvex: the %1 tables could not be listed:\n").arg(side) +
                     CommandSteps::Describe(failure) + more);
}

}  // namespace

bool ListOracleSide(MemoryTableList& list, const CommandLineFields& fields, Terminal& terminal) {
    try {
        LoadOracleTables(list, fields);
        return true;
    } catch (const std::exception& failure) {
        QString more = QStringLiteral("\n(user %1 on %2; %3)")
                           .arg(fields.Text3(), fields.Text2(), fields.PasswordSource());
        if (!InstalledOdbcDrivers().join(u'\n').contains(QStringLiteral("oracle"),
                                                         Qt::CaseInsensitive)) {
            more += QStringLiteral(
                "\nNo Oracle ODBC driver is registered with unixODBC (odbcinst -q -d): see "
                "\"Reaching a real Oracle server\" in the README, or run the command through "
                "scripts/run-app.sh, which starts the practice server.");
        }
        TellListingFailed(QStringLiteral("Oracle"), failure, more, terminal);
    }
    return false;
}

std::optional<FolderTables> ListParadoxSide(const CommandLineFields& fields, Terminal& terminal) {
    try {
        return FolderTables(fields.Text1());
    } catch (const std::exception& failure) {
        TellListingFailed(QStringLiteral("Paradox"), failure, QString(), terminal);
    }
    return std::nullopt;
}

}  // namespace quorvex
