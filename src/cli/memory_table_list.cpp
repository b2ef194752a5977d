#include "cli/memory_table_list.h"

#include "data/core/failure.h"
#include "data/core/table_name_order.h"

namespace quorvex {

const MemoryTableList::Entry& MemoryTableList::Require(int index) const {
    if (index < 0 || index >= ListCount()) {
        throw Failure(QStringLiteral("Invalid list index %1").arg(index));
    }
    return entries_[static_cast<std::size_t>(index)];
}

int MemoryTableList::ListCount() const { return static_cast<int>(entries_.size()); }

QString MemoryTableList::List(int index) const { return Require(index).text; }

bool MemoryTableList::Selected(int index) const { return Require(index).selected; }

void MemoryTableList::SetSelected(int index, bool selected) {
    Require(index);
    entries_[static_cast<std::size_t>(index)].selected = selected;
}

int MemoryTableList::SelCount() const {
    int selected = 0;
    for (const Entry& entry : entries_) {
        selected += entry.selected ? 1 : 0;
    }
    return selected;
}

int MemoryTableList::ListIndex() const { return current_; }

void MemoryTableList::SetListIndex(int index) {
    if (index != -1) {
        Require(index);
    }
    current_ = index;
}

void MemoryTableList::AddItem(const QString& text) {
    const int at = SortedInsertPosition(
        ListCount(), [this](int i) { return entries_[static_cast<std::size_t>(i)].text; }, text);
    entries_.insert(entries_.begin() + at, Entry{text});
    newIndex_ = at;
    if (current_ >= at) {
        ++current_;
    }
}

int MemoryTableList::NewIndex() const { return newIndex_; }

int MemoryTableList::ItemData(int index) const { return Require(index).data; }

void MemoryTableList::SetItemData(int index, int data) {
    Require(index);
    entries_[static_cast<std::size_t>(index)].data = data;
}

void MemoryTableList::RemoveItem(int index) {
    Require(index);
    entries_.erase(entries_.begin() + index);
    newIndex_ = -1;
    // As in a list box, removing the current entry makes its neighbour current.
    if (current_ > index || current_ == ListCount()) {
        --current_;
    }
}

void MemoryTableList::Clear() {
    entries_.clear();
    current_ = -1;
    newIndex_ = -1;
}

QStringList MemoryTableList::Entries() const {
    QStringList texts;
    texts.reserve(ListCount());
    for (const Entry& entry : entries_) {
        texts.append(entry.text);
    }
    return texts;
}

}  // namespace quorvex
