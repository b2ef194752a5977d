#include "transfer/transfer_summary.h"

#include "data/core/table_name_order.h"
#include "transfer/sent_value.h"

#include <algorithm>

namespace quorvex {

bool SentTable::Whole() const {
    if (fate == Fate::Kept) {
        return kept && kept->Complete();
    }
    return fate == Fate::Copied && paradoxRows == arrived;
}

QString SentTable::Outcome() const {
    switch (fate) {
        case Fate::InSubfolder:
            return QStringLiteral("in a subfolder");
        case Fate::NotReached:
            return QStringLiteral("not reached");
        case Fate::Kept:
            return !kept || kept->Complete() ? QStringLiteral("kept")
                                             : QStringLiteral("kept incomplete");
        case Fate::NotCopied:
            return QStringLiteral("not copied");
        case Fate::RolledBack:
            return leftBehind ? QStringLiteral("not committed") : QStringLiteral("rolled back");
        case Fate::Copied:
            break;
    }
    return Whole() ? QStringLiteral("sent") : QStringLiteral("incomplete");
}

TransferSummary::TransferSummary(std::function<void(const QString&, const SentRow&)> refused)
    : refused_(std::move(refused)) {
    clock_.start();
}

void TransferSummary::CloseCurrent() {
    if (!reached_) {
        return;
    }
    SentTable& table = tables_.back();
    table.seconds = static_cast<double>(clock_.elapsed() - currentStartedMs_) / 1000.0;
    const bool unaccounted = table.fate == SentTable::Fate::NotCopied ||
                             (table.fate == SentTable::Fate::Copied && table.paradoxRows &&
                              table.arrived + table.refused < *table.paradoxRows);
    if (unaccounted && table.note.isEmpty() && !lastReport_.isEmpty()) {
        table.note = lastReport_.simplified();
    }
    lastReport_.clear();
    reached_ = false;
    if (closed_) {
        closed_(table);
    }
}

void TransferSummary::CurrentTableReported(const QString& description) {
    if (reached_) {
        lastReport_ = description;
    }
}

void TransferSummary::TableReached(const QString& table) {
    CloseCurrent();
    tables_.push_back(SentTable{table, SentTable::Fate::NotCopied, sourceFiles_.value(table)});
    reached_ = true;
    currentStartedMs_ = clock_.elapsed();
}

void TransferSummary::RowsToCopy(std::int64_t rowCount) {
    if (reached_) {
        tables_.back().fate = SentTable::Fate::Copied;
        tables_.back().paradoxRows = rowCount;
        if (starting_) {
            starting_(tables_.back().name);
        }
    }
}

void TransferSummary::RowSent(const SentRow& row) {
    if (!reached_) {
        return;
    }
    SentTable& table = tables_.back();
    if (row.Whole()) {
        ++table.arrived;
        return;
    }
    if (table.refused++ == 0) {
        table.firstRefusal = row.problem;
    }
    if (table.note.isEmpty() && row.values != nullptr) {
        std::vector<std::optional<QString>> sent;
        for (const Value& value : *row.values) {
            sent.push_back(value.kind() == Value::Kind::Text ? std::optional(value.toText())
                                                             : std::nullopt);
        }
        if (HoldsTextOverColumn(sent)) {
            table.note = kNativeCarriesLongTexts;
        }
    }
    if (refused_) {
        refused_(table.name, row);
    }
}

void TransferSummary::SetSourceFile(const QString& table, const QString& file) {
    sourceFiles_.insert(table, file);
}

void TransferSummary::CurrentTableKept(const std::optional<KeptTable>& kept) {
    if (reached_) {
        tables_.back().fate = SentTable::Fate::Kept;
        tables_.back().kept = kept;
        if (kept) {
            tables_.back().paradoxRows = kept->paradoxRows;
        }
    }
}

void TransferSummary::AddTable(SentTable table) {
    if (table.sourceFile.isEmpty()) {
        table.sourceFile = sourceFiles_.value(table.name);
    }
    tables_.push_back(std::move(table));
}

void TransferSummary::AddInSubfolder(const QString& relativeName, const QString& sourceFile,
                                     const QString& note) {
    SentTable table{relativeName, SentTable::Fate::InSubfolder, sourceFile};
    table.note = note;
    tables_.push_back(table);
}

void TransferSummary::AddUnreached(const QStringList& selected) {
    CloseCurrent();
    QStringList reached;
    for (const SentTable& table : tables_) {
        if (table.Counts()) {
            reached.append(table.name);
        }
    }
    for (const QString& name : selected) {
        if (!reached.removeOne(name)) {
            tables_.push_back(
                SentTable{name, SentTable::Fate::NotReached, sourceFiles_.value(name)});
        }
    }
}

const SentTable* TransferSummary::Current() const { return reached_ ? &tables_.back() : nullptr; }

std::vector<SentTable> TransferSummary::InListOrder() const {
    std::vector<SentTable> ordered = tables_;
    std::stable_sort(ordered.begin(), ordered.end(), [](const SentTable& a, const SentTable& b) {
        return CompareTableNames(a.name, b.name) < 0;
    });
    return ordered;
}

bool TransferSummary::EveryRowArrived() const {
    return std::all_of(tables_.begin(), tables_.end(),
                       [](const SentTable& table) { return !table.Counts() || table.Whole(); });
}

}  // namespace quorvex
