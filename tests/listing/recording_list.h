#pragma once

#include "shell/table_list.h"

#include <QStringList>

#include <stdexcept>
#include <vector>

namespace quorvex::test {

// A table list that keeps its entries in the order they were added, so a test sees the order
// in which a loader found them.
class RecordingList : public TableList {
  public:
    QStringList added;
    int clears = 0;
    int listIndex = -1;
    std::vector<bool> selected;
    std::vector<int> data;
    int newIndex = -1;

    int ListCount() const override { return static_cast<int>(added.size()); }
    QString List(int index) const override { return added.at(Check(index)); }
    bool Selected(int index) const override { return selected.at(Check(index)); }
    void SetSelected(int index, bool value) override { selected.at(Check(index)) = value; }
    int SelCount() const override {
        int count = 0;
        for (bool value : selected) {
            count += value ? 1 : 0;
        }
        return count;
    }
    int ListIndex() const override { return listIndex; }
    void SetListIndex(int index) override { listIndex = index == -1 ? -1 : Check(index); }
    void AddItem(const QString& text) override {
        added.append(text);
        selected.push_back(false);
        data.push_back(0);
        newIndex = ListCount() - 1;
    }
    int NewIndex() const override { return newIndex; }
    int ItemData(int index) const override { return data.at(Check(index)); }
    void SetItemData(int index, int value) override { data.at(Check(index)) = value; }
    void RemoveItem(int index) override {
        added.removeAt(Check(index));
        selected.erase(selected.begin() + index);
        data.erase(data.begin() + index);
        newIndex = -1;
    }
    void Clear() override {
        added.clear();
        selected.clear();
        data.clear();
        newIndex = -1;
        listIndex = -1;
        ++clears;
    }

  private:
    int Check(int index) const {
        if (index < 0 || index >= ListCount()) {
            throw std::out_of_range("list index");
        }
        return index;
    }
};

}  // namespace quorvex::test
