#pragma once

#include "shell/transfer_observer.h"
#include "transfer/kept_tables.h"

#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quorvex {

// What became of one table that `quorvex send` was asked to send.
struct SentTable {
    enum class Fate {
        InSubfolder,  // listed from a subfolder of the folder: not attempted
        NotReached,   // the send ended (a signal, a lost server) before it came to this table
        Kept,         // already in Oracle and left as it is (--keep, --resume, or answered No)
        NotCopied,    // reached, but its rows were never counted: it could not be read or created
        Copied,       // its rows were sent; how many arrived is below
        RolledBack,   // sent in bulk and stopped or failed: its rows were rolled back (not in
                      // Oracle), and the table dropped unless leftBehind
    };
    QString name{};  // as listed; "Archive/ORDERS98" for a subfolder's table
    Fate fate = Fate::NotReached;
    QString sourceFile{};                       // the table file
    std::optional<std::int64_t> paradoxRows{};  // the Paradox table's record count, once read
    std::int64_t arrived = 0;                   // rows the server took whole
    std::int64_t refused = 0;                   // rows refused, or sent with a value left out
    QString firstRefusal{};                     // the description of the first of those
    std::optional<KeptTable> kept{};            // a kept table's counts
    QString note{};                             // what to do about a table not sent
    double seconds = 0.0;                       // from reaching the table to leaving it
    // Rolled back, but its table could not be dropped (a lost connection): an empty table of that
    // name may stand in Oracle, which --resume sends again.
    bool leftBehind = false;

    // Every row of the Paradox table arrived whole, or, for a kept table, is in Oracle.
    bool Whole() const;
    // A table a send must leave alone for its exit status to say "arrived".
    bool Counts() const { return fate != Fate::InSubfolder; }
    // A short word for the fate: "sent", "incomplete", "kept", "not copied", "rolled back"...
    QString Outcome() const;
};

// Follows a running send through the transfer's observer and keeps one record per table.
class TransferSummary : public TransferObserver {
  public:
    // `refused` hears every row that did not arrive whole, with its table's name.
    explicit TransferSummary(
        std::function<void(const QString& table, const SentRow& row)> refused = {});

    void TableReached(const QString& table) override;
    void RowsToCopy(std::int64_t rowCount) override;
    void RowSent(const SentRow& row) override;

    // The source file of each table, told before the send.
    void SetSourceFile(const QString& table, const QString& file);
    // The overwrite question of the current table was answered No; `kept` is its count.
    void CurrentTableKept(const std::optional<KeptTable>& kept);
    // The record of a table sent apart from the command's walk (a bulk send), whole; its source
    // file as told, when it has none.
    void AddTable(SentTable table);
    // A table of a subfolder, not attempted.
    void AddInSubfolder(const QString& relativeName, const QString& sourceFile,
                        const QString& note);
    // After the send: the selected names the send never came to, counted as often as selected.
    void AddUnreached(const QStringList& selected);

    // The table being sent, or nullptr before the first one.
    const SentTable* Current() const;
    // Every record, in the order of the table lists.
    std::vector<SentTable> InListOrder() const;
    // True when every table asked for arrived whole (kept tables: complete).
    bool EveryRowArrived() const;

  private:
    void CloseCurrent();

    std::function<void(const QString&, const SentRow&)> refused_;
    std::vector<SentTable> tables_;
    QHash<QString, QString> sourceFiles_;  // by table name
    bool reached_ = false;  // a table was reached: the last record is the current table
    QElapsedTimer clock_;
    qint64 currentStartedMs_ = 0;
};

}  // namespace quorvex
