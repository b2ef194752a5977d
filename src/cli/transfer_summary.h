#pragma once

#include "shell/transfer_observer.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvex {

// What became of one table that `quorvex send` was asked to send.
struct SentTable {
    enum class Fate {
        NotFound,    // no Paradox table of that name in the folder
        NotReached,  // the send ended (Ctrl+C, a lost server) before it came to this table
        Kept,        // already in Oracle, and the overwrite question was answered No
        NotCopied,   // reached, but its rows were never counted: it could not be read or created
        Copied,      // its rows were sent; how many arrived is below
    };
    QString name{};
    Fate fate = Fate::NotReached;
    std::optional<std::int64_t> paradoxRows{};  // the Paradox table's record count, once read
    std::int64_t arrived = 0;                   // rows the server took
    std::int64_t refused = 0;                   // rows the server refused
    QString firstRefusal{};                     // the description of the first refusal

    // Every row of the Paradox table arrived.
    bool Whole() const { return fate == Fate::Copied && paradoxRows == arrived; }
    // A short word for the fate: "sent", "incomplete", "kept", "not copied"...
    QString Outcome() const;
};

// Follows a running send through the transfer's observer and keeps one record per table.
class TransferSummary : public TransferObserver {
  public:
    void TableReached(const QString& table) override;
    void RowsToCopy(std::int64_t rowCount) override;
    void RowSent(bool arrived, const QString& refusal) override;

    // The overwrite question of the current table was answered No.
    void CurrentTableKept();
    // A table name that names no Paradox table.
    void AddNotFound(const QString& name);
    // After the send: the selected names the send never came to, counted as often as selected.
    void AddUnreached(const QStringList& selected);

    // The table being sent, or nullptr before the first one.
    const SentTable* Current() const;
    // Every record, in the order of the table lists.
    std::vector<SentTable> InListOrder() const;
    // How many tables met the fate.
    int Count(SentTable::Fate fate) const;
    // True when every table asked for arrived whole (kept tables aside: the user chose them).
    bool EveryRowArrived() const;

  private:
    std::vector<SentTable> tables_;
};

}  // namespace quorvex
