#pragma once

#include <QString>

#include <cstdint>

namespace quorvex {

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
    // After each INSERT: whether the server took the row and, when not, the failure's own
    // description (as its report gives it).
    virtual void RowSent(bool arrived, const QString& refusal) = 0;
};

}  // namespace quorvex
