#include "cli/transfer_summary.h"

#include "data/table_name_order.h"

#include <algorithm>

namespace quorvex {

QString SentTable::Outcome() const {
    switch (fate) {
        case Fate::NotFound:
            return QStringLiteral("not found");
        case Fate::NotReached:
            return QStringLiteral("not reached");
        case Fate::Kept:
            return QStringLiteral("kept");
        case Fate::NotCopied:
            return QStringLiteral("not copied");
        case Fate::Copied:
            break;
    }
    return Whole() ? QStringLiteral("sent") : QStringLiteral("incomplete");
}

void TransferSummary::TableReached(const QString& table) {
    tables_.push_back(SentTable{table, SentTable::Fate::NotCopied});
}

void TransferSummary::RowsToCopy(std::int64_t rowCount) {
    if (!tables_.empty()) {
        tables_.back().fate = SentTable::Fate::Copied;
        tables_.back().paradoxRows = rowCount;
    }
}

void TransferSummary::RowSent(bool arrived, const QString& refusal) {
    if (tables_.empty()) {
        return;
    }
    SentTable& table = tables_.back();
    if (arrived) {
        ++table.arrived;
    } else if (table.refused++ == 0) {
        table.firstRefusal = refusal;
    }
}

void TransferSummary::CurrentTableKept() {
    if (!tables_.empty()) {
        tables_.back().fate = SentTable::Fate::Kept;
    }
}

void TransferSummary::AddNotFound(const QString& name) {
    tables_.push_back(SentTable{name, SentTable::Fate::NotFound});
}

void TransferSummary::AddUnreached(const QStringList& selected) {
    QStringList reached;
    for (const SentTable& table : tables_) {
        if (table.fate != SentTable::Fate::NotFound) {
            reached.append(table.name);
        }
    }
    for (const QString& name : selected) {
        if (!reached.removeOne(name)) {
            tables_.push_back(SentTable{name, SentTable::Fate::NotReached});
        }
    }
}

const SentTable* TransferSummary::Current() const {
    return tables_.empty() ? nullptr : &tables_.back();
}

std::vector<SentTable> TransferSummary::InListOrder() const {
    std::vector<SentTable> ordered = tables_;
    std::stable_sort(ordered.begin(), ordered.end(), [](const SentTable& a, const SentTable& b) {
        return CompareTableNames(a.name, b.name) < 0;
    });
    return ordered;
}

int TransferSummary::Count(SentTable::Fate fate) const {
    return static_cast<int>(
        std::count_if(tables_.begin(), tables_.end(),
                      [fate](const SentTable& table) { return table.fate == fate; }));
}

bool TransferSummary::EveryRowArrived() const {
    return std::all_of(tables_.begin(), tables_.end(), [](const SentTable& table) {
        return table.fate == SentTable::Fate::Kept || table.Whole();
    });
}

}  // namespace quorvex
