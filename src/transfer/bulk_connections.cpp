#include "transfer/bulk_connections.h"

#include "data/core/ado_types.h"
#include "transfer/bulk_statements.h"

namespace quorvex {

std::unique_ptr<BulkConnections> BulkConnections::Open(const QString& oracleConnectionString,
                                                       const QString& paradoxConnectionString) {
    auto connections = std::make_unique<BulkConnections>();
    // Each job logs in on its own: one log-in that hangs ends at its own time limit, while the
    // others go on.
    connections->oracle.SetCursorLocation(adUseServer);
    connections->oracle.Open(oracleConnectionString);
    connections->paradox.SetCursorLocation(adUseClient);
    connections->paradox.Open(paradoxConnectionString);
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
