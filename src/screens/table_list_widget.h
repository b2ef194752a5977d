#pragma once

#include "shell/table_list.h"

#include <QItemSelection>
#include <QListWidget>

namespace quorvex {

// The tables screen's list box: a QListWidget with extended multiple selection whose entries
// stay sorted alphabetically ignoring case. Qt's own sorting compares with case, so entries carry
// their own ordering and are inserted at their place.
//
// The commands' steps cost the same on a list of a hundred thousand entries as on ten. Each entry
// keeps whether it is selected, and the list keeps their count, for Selected, SetSelected and
// SelCount: Qt's selection model, changed one entry at a time, keeps a range per entry and walks
// them all at every further change and removal. The view catches up with a command's changes at
// once, as a few ranges, the first time it is about to paint or take a click or a key, or pending
// events run (the command let them in, or it ended); changes the user makes in the view come back
// to the entries as they happen. Each entry's size on the screen is measured once (EntrySizes),
// and a removal does not make the view lay out the whole list again to repaint one place.
class TableListWidget : public QListWidget, public TableList {
    Q_OBJECT
  public:
    explicit TableListWidget(QWidget* parent = nullptr);

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
    void SetItemTip(int index, const QString& tip) override;
    void RemoveItem(int index) override;
    void Clear() override;

  signals:
    void mouseMoved();

  protected:
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    class Entry;
    class EntrySizes;
    Entry* Require(int index) const;
    Entry* EntryAt(int row) const;
    // Brings the view up to the entries: their selection, and the current entry in sight when
    // a removal moved it. Cheap when there is nothing to catch up with.
    void CatchUpView();
    void CatchUpLater();
    // The user changed the selection in the view: the entries follow.
    void TakeSelectionFromView(const QItemSelection& selected, const QItemSelection& deselected);
    void MarkRows(const QItemSelection& ranges, bool selected);

    EntrySizes* sizes_ = nullptr;
    int selectedCount_ = 0;
    bool selectionBehind_ = false;  // the view does not show the entries' selection yet
    bool currentMoved_ = false;     // a removal moved the current entry; not yet scrolled to
    bool catchUpPosted_ = false;
    bool changingView_ = false;  // the list itself is changing the view's selection: not the user
    bool removing_ = false;
    int newIndex_ = -1;
};

}  // namespace quorvex
