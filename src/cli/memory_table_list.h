#pragma once

#include "shell/table_list.h"

#include <QStringList>

#include <vector>

namespace quorvex {

// A table list held in memory, for the command line: the same order as the screens' list boxes
// (CompareTableNames), entries selected one by one, a current entry that follows its entry as
// others are added or removed.
class MemoryTableList : public TableList {
  public:
    int ListCount() const override;
    QString List(int index) const override;
    bool Selected(int index) const override;
    void SetSelected(int index, bool selected) override;
    int SelCount() const override;
    int ListIndex() const override;
    void SetListIndex(int index) override;
    void AddItem(const QString& text) override;
    int NewIndex() const override;
    int ItemData(int index) const override;
    void SetItemData(int index, int data) override;
    void RemoveItem(int index) override;
    void Clear() override;

    // Every entry's text, in the list's order.
    QStringList Entries() const;

  private:
    struct Entry {
        QString text;
        bool selected = false;
        int data = 0;
    };
    const Entry& Require(int index) const;

    std::vector<Entry> entries_;
    int current_ = -1;
    int newIndex_ = -1;
};

}  // namespace quorvex
