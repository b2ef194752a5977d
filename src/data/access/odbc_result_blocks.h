#pragma once

#include "data/access/connection.h"

namespace quorvex {

// Asks the ODBC driver of an open connection to hand the rows of its queries over a block of
// `rowsPerBlock` rows at a time, as they are read, rather than all of a result before its first
// row, so that reading a table of any size takes the memory of one block.
//
// Oracle's driver fetches a buffer at a time by itself and is given nothing. psqlODBC (the
// practice and test servers' driver) reads a whole result into memory unless its declare/fetch
// mode is on; that mode, and its block size, are switched on for this connection through
// psqlODBC's own connection attributes, and only when the driver names itself psqlODBC: attribute
// numbers above 65535 belong to each driver and would mean something else to another. A driver
// that refuses them keeps its own way; nothing is reported. The Paradox driver needs nothing.
void FetchResultsInBlocks(Connection& connection, int rowsPerBlock);

}  // namespace quorvex
