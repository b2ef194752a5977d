#pragma once

#include "data/access/connection.h"
#include "shell/stop_request.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quorvex {

// The most rows shown of each side when a sent table differs from its Paradox table.
constexpr int kShownDifferingRows = 5;

// A row found on one side only.
struct ComparedRow {
    std::int64_t paradoxRow = 0;  // its number in the Paradox table (1 for the first); 0 for Oracle
    // Its values in field order, as the copies send them (SentText), nullopt for NULL.
    std::vector<std::optional<QString>> values;
};

// A Paradox table beside the Oracle table sent from it, compared as multisets of rows (Oracle
// keeps no row order), each row read back to the form the copies send (SentText) on both sides.
struct TableComparison {
    std::vector<QString> fieldNames;
    std::int64_t paradoxRows = 0;
    std::int64_t oracleRows = 0;
    std::int64_t onlyInParadox = 0;  // rows with no equal row in Oracle (counting repeats)
    std::int64_t onlyInOracle = 0;   // rows with no equal row in the Paradox table
    // The first of them (up to kShownDifferingRows each): Paradox rows in table order, Oracle
    // rows in the order the server gave them.
    std::vector<ComparedRow> paradoxSample;
    std::vector<ComparedRow> oracleSample;
    // A native table's columns, key or indexes that are not those its Paradox table makes
    // (NativeShapeDifference, NativeKeysDifference), one line each.
    QStringList structureDifferences;

    bool Same() const {
        return onlyInParadox == 0 && onlyInOracle == 0 && structureDifferences.isEmpty();
    }
};

// Reads the Paradox table `table` and the Oracle table of the same name (its columns named as the
// Paradox fields, in their order) through the two open connections, which it only reads. The
// Oracle driver is asked first to hand rows over a block at a time (FetchResultsInBlocks, which
// stays so on the connection), so that rows come as they are compared rather than all before the
// first. Each row becomes a 128-bit digest; the two sides are read in step and their digests
// counted off against each other, so memory holds only the rows not yet matched: nothing more
// when Oracle gives the rows back in the order they were sent, and a digest for each row read
// out of step otherwise. When the sides differ, both are
// read a second time for the rows to show. `progress` hears the rows read of each side now and
// then; the stop request is read as often. Returns nothing when stopped; throws Failure when
// either side cannot be read (no such Oracle table or column...). The Paradox table is read with
// `options` (another code page than its header's...), and by `readName` when given (a file's own
// name where the folder holds the table in two files). A `native` table (send --native) is read
// on both sides to the exact form of each value (NativeComparableText), and its columns, key and
// indexes are checked against those its Paradox table makes.
std::optional<TableComparison> CompareSentTable(
    Connection& paradox, Connection& oracle, const QString& table,
    const StopRequest* stop = nullptr,
    const std::function<void(std::int64_t rowsRead)>& progress = {},
    const ParadoxTableOptions& options = {}, const QString& readName = QString(),
    bool native = false);

}  // namespace quorvex
