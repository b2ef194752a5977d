#pragma once

#include "data/connection.h"

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

    static std::unique_ptr<BulkConnections> Open(const QString& oracleConnectionString,
                                                 const QString& paradoxConnectionString);
};

}  // namespace quorvex
