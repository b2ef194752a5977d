#pragma once

#include <QString>

namespace quorvex {

// A sorted list of table names with extended multiple selection (a list box on the tables
// screen). Entries stay in alphabetical order ignoring case, whatever the order of adding.
class TableList {
  public:
    virtual ~TableList() = default;
    virtual int ListCount() const = 0;
    virtual QString List(int index) const = 0;
    virtual bool Selected(int index) const = 0;
    virtual void SetSelected(int index, bool selected) = 0;  // changes no other entry
    virtual int SelCount() const = 0;
    virtual int ListIndex() const = 0;  // the current (focus) entry, -1 when none
    virtual void SetListIndex(int index) = 0;
    virtual void AddItem(const QString& text) = 0;  // takes its sorted place
    virtual int NewIndex() const = 0;  // where the last AddItem put its entry; -1 after a removal
    // A number kept with each entry, 0 until set; it follows its entry as others come and go.
    virtual int ItemData(int index) const = 0;
    virtual void SetItemData(int index, int data) = 0;
    // What a window shows beside an entry when the mouse rests on it: where the entry's table
    // is, for an entry that looks like another. A list without a window keeps none.
    virtual void SetItemTip(int /*index*/, const QString& /*tip*/) {}
    virtual void RemoveItem(int index) = 0;
    virtual void Clear() = 0;
};

}  // namespace quorvex
