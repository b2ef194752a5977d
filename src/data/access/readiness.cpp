#include "data/access/readiness.h"

#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "data/folder/find_files.h"

#include <exception>

namespace quorvex {

bool CanConnectToOracle(const ConnectionFields& fields) {
    Connection connection;  // a failure to create it is not absorbed
    bool connected = false;
    try {
        connection.Open(OracleConnectionString(fields));
        connected = true;
    } catch (const std::exception&) {
        // The answer is simply "no": the test reports nothing and passes nothing on.
    }
    return connected;  // the connection is dropped (and closed) here
}

bool ParadoxFolderHasTables(const ConnectionFields& fields) {
    const QString folder = fields.Text1();
    if (folder.isEmpty()) return false;
    return !FindFiles(folder, QStringLiteral("*.db")).isEmpty();
}

}  // namespace quorvex
