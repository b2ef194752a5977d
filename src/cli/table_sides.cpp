#include "cli/table_sides.h"

#include "data/table_listing.h"
#include "shell/command_steps.h"

#include <functional>

namespace quorvex {

namespace {

bool Listed(const std::function<void()>& listing, const QString& side, Terminal& terminal) {
    try {
        listing();
        return true;
    } catch (const std::exception& failure) {
        terminal.Message(QStringLiteral("quorvex: the %1 tables could not be listed:\n").arg(side) +
                         CommandSteps::Describe(failure));
    }
    return false;
}

}  // namespace

bool ListOracleSide(MemoryTableList& list, const ConnectionFields& fields, Terminal& terminal) {
    return Listed([&] { LoadOracleTables(list, fields); }, QStringLiteral("Oracle"), terminal);
}

bool ListParadoxSide(MemoryTableList& list, const ConnectionFields& fields, Terminal& terminal) {
    return Listed([&] { LoadParadoxTables(list, fields); }, QStringLiteral("Paradox"), terminal);
}

}  // namespace quorvex
