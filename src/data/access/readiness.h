#pragma once

#include "data/core/connection_fields.h"

namespace quorvex {

// The two readiness tests that start-up, "Next >" and the "Test Connection" buttons rely on.
// Neither shows anything.

// True when a new connection opened with the Oracle connection string succeeds. A failed open
// is simply the answer false; the connection is dropped before returning.
bool CanConnectToOracle(const ConnectionFields& fields);

// True when the Paradox folder itself (not its subfolders) holds at least one "*.db" file,
// hidden ones and "~" names included. An empty folder field answers false; no file is opened.
// A folder text the directory search rejects raises Failure.
bool ParadoxFolderHasTables(const ConnectionFields& fields);

}  // namespace quorvex
