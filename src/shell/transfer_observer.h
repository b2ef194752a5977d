#pragma once

#include "data/core/value.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace quorvex {

// One row of a running send, as the server answered it.
struct SentRow {
    std::int64_t number = 0;  // its place in the Paradox table, 1 for the first row
    bool stored = false;      // the server took its INSERT
    // Why the row is not in Oracle as it was read: the server's refusal, or the report of a
    // number Oracle cannot hold that was sent as NULL. Empty for a row that arrived whole.
    QString problem{};
    const std::vector<QString>* fieldNames = nullptr;
    const std::vector<Value>* values = nullptr;  // as read, in field order

    bool Whole() const { return stored && problem.isEmpty(); }
};

// What a front end may learn of a running "Send Table/s To Oracle" beyond its progress bar and
// its reports: which table it is on, how many rows that table holds and, row by row, whether
// the server took the row. The command line prints its per-table summary from it; the screens
// leave it unset. Calls come from the command's own thread, in the order of the command's steps.
class TransferObserver {
  public:
    virtual ~TransferObserver() = default;
    // A selected entry's name was read: what follows (the overwrite question, the reports, the
    // rows) belongs to this table until the next call.
    virtual void TableReached(const QString& table) = 0;
    // The copy of the current table's rows begins; `rowCount` is the Paradox table's record
    // count. Not called for a table that could not be opened or created.
    virtual void RowsToCopy(std::int64_t rowCount) = 0;
    // After each INSERT; the row's pointers hold only for the call.
    virtual void RowSent(const SentRow& row) = 0;
};

}  // namespace quorvex
