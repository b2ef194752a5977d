#pragma once

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"

#include <QString>

#include <memory>

namespace quorvex {

// The two connections of one bulk job (a bulk send or a comparison of sent tables): the Oracle
// login, with "." set as the decimal sign for its session (kDecimalPointSession; a server that
// does not know the statement needs nothing set), and the Paradox folder. Each job of several at
// once opens its own, on the thread that uses them: a Qt SQL connection belongs to the thread
// that made it, and the Paradox reader keeps the state of its table. The connection strings are
// built once by the caller (OracleConnectionString, ParadoxConnectionString), so no job reads the
// connection fields. Throws Failure with the driver's message when either side refuses.
struct BulkConnections {
    Connection oracle;
    Connection paradox;
    // What the Oracle database takes (its character set, its name limits), read quietly once the
    // connection is open, as "Send Table/s To Oracle" reads them: a server that will not say is
    // taken for AL32UTF8 with names of up to 128 bytes.
    OracleDatabaseRules rules;

    static std::unique_ptr<BulkConnections> Open(const QString& oracleConnectionString,
                                                 const QString& paradoxConnectionString);
};

}  // namespace quorvex
