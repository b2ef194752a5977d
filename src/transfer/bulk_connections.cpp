#include "transfer/bulk_connections.h"

#include "data/core/ado_types.h"
#include "transfer/bulk_statements.h"

#include <mutex>

namespace quorvex {

std::unique_ptr<BulkConnections> BulkConnections::Open(const QString& oracleConnectionString,
                                                       const QString& paradoxConnectionString) {
    auto connections = std::make_unique<BulkConnections>();
    {
        // Opening reads the driver registry (odbcinst.ini) and loads the drivers: one job at a
        // time, which costs nothing next to the copy and keeps that out of any doubt.
        static std::mutex opening;
        const std::lock_guard lock(opening);
        connections->oracle.SetCursorLocation(adUseServer);
        connections->oracle.Open(oracleConnectionString);
        connections->paradox.SetCursorLocation(adUseClient);
        connections->paradox.Open(paradoxConnectionString);
    }
    try {
        connections->oracle.Execute(kDecimalPointSession);
    } catch (const std::exception&) {
        // A precaution, not a step: a server without the statement reads "." already.
    }
    try {
        ReadOracleDatabaseRules(connections->oracle, connections->rules);
    } catch (const std::exception&) {
        // the defaults stand (the name limits are in by then)
    }
    return connections;
}

}  // namespace quorvex
