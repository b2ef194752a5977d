#pragma once

#include "cli/terminal.h"
#include "data/core/connection_fields.h"
#include "transfer/migration_ledger.h"

#include <QStringList>

#include <map>
#include <optional>

namespace quorvex {

// Takes the schema's ledger for a send, before its first change: one line and status 2 when
// another run holds it (naming that run: host, process, start) or a chosen Paradox table bears a
// ledger table's name; status 1 when the ledger cannot be kept (the server's reason). A run that
// died holding it is named on a line of its own, and the send goes on. nullopt when taken.
std::optional<int> TakeLedger(MigrationLedger& ledger, const ConnectionFields& fields,
                              const QStringList& oracleTables, const QStringList& chosen,
                              Terminal& terminal);

// The ledger's latest entry of each table: through `ledger` when this run holds it, else read
// without the lock where the schema has a ledger (a dry run). A ledger that cannot be read is
// told on a line and left out.
std::map<QString, LedgerEntry> ReadLedgerEntries(MigrationLedger& ledger,
                                                 const ConnectionFields& fields,
                                                 const QStringList& oracleTables,
                                                 Terminal& terminal);

}  // namespace quorvex
