#include "screens/table_list_widget.h"

#include "data/core/failure.h"
#include "data/core/table_name_order.h"
#include "shell/table_listing.h"

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace quorvex {

// An entry of the list with its own selected mark (see the class comment) and its measured size.
class TableListWidget::Entry : public QListWidgetItem {
  public:
    explicit Entry(const QString& text) : QListWidgetItem(text, nullptr, UserType) {}
    bool selected = false;
    int data = 0;
    QSize size;
    quint64 sizeMeasuredIn = 0;  // the EntrySizes generation it was measured in; 0: never
};

// The sizes the view lays the entries out by. Each time entries come or go the view asks for the
// size of every entry before it next paints, and measuring a text takes microseconds: on a list
// of tens of thousands of entries every repaint during a delete took longer than the delete
// itself. An entry's size depends only on its text and on the list's font and style, so each is
// measured once and measured again only after those change.
class TableListWidget::EntrySizes : public QStyledItemDelegate {
  public:
    explicit EntrySizes(TableListWidget& list) : QStyledItemDelegate(&list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (option.font != measuredFont_) {
            Forget();
            measuredFont_ = option.font;
        }
        Entry* entry = list_.EntryAt(index.row());
        if (entry->sizeMeasuredIn != generation_) {
            entry->size = QStyledItemDelegate::sizeHint(option, index);
            entry->sizeMeasuredIn = generation_;
        }
        return entry->size;
    }

    void Forget() const { ++generation_; }

  private:
    TableListWidget& list_;
    mutable QFont measuredFont_;
    mutable quint64 generation_ = 1;
};

TableListWidget::TableListWidget(QWidget* parent) : QListWidget(parent) {
    sizes_ = new EntrySizes(*this);  // here, once the members it may meet through event() are set
    setItemDelegate(sizes_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSortingEnabled(false);  // our own ordering, see AddItem
    setMouseTracking(true);
    viewport()->setMouseTracking(true);  // moves over the entries arrive at the viewport
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TableListWidget::TakeSelectionFromView);
}

TableListWidget::Entry* TableListWidget::EntryAt(int row) const {
    // Every entry is made by AddItem.
    return static_cast<Entry*>(item(row));
}

TableListWidget::Entry* TableListWidget::Require(int index) const {
    if (index < 0 || index >= count()) {
        throw Failure(QStringLiteral("Invalid list index %1").arg(index));
    }
    return EntryAt(index);
}

int TableListWidget::ListCount() const { return count(); }

QString TableListWidget::List(int index) const { return Require(index)->text(); }

bool TableListWidget::Selected(int index) const { return Require(index)->selected; }

void TableListWidget::SetSelected(int index, bool selected) {
    Entry* entry = Require(index);
    if (entry->selected == selected) {
        return;
    }
    entry->selected = selected;
    selectedCount_ += selected ? 1 : -1;
    selectionBehind_ = true;
    CatchUpLater();
}

int TableListWidget::SelCount() const { return selectedCount_; }

int TableListWidget::ListIndex() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TableListWidget::SetListIndex(int index) {
    // Through the selection model directly so that no entry's selection changes, and without
    // scrolling: the view stays where the user left it.
    if (index != -1) {
        Require(index);
    }
    const QModelIndex current = index == -1 ? QModelIndex() : model()->index(index, 0);
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    setAutoScroll(scrolls);
}

void TableListWidget::AddItem(const QString& text) {
    newIndex_ = SortedInsertPosition(
        count(), [this](int i) { return item(i)->text(); }, text);
    insertItem(newIndex_, new Entry(text));
}

int TableListWidget::NewIndex() const { return newIndex_; }

int TableListWidget::ItemData(int index) const { return Require(index)->data; }

void TableListWidget::SetItemData(int index, int value) {
    Entry* entry = Require(index);
    entry->data = value;
    // An entry of a subfolder's table, which the commands leave alone, looks it before any is
    // tried on it.
    if (value == kListedFromSubfolder) {
        entry->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
    } else {
        entry->setData(Qt::ForegroundRole, QVariant());
    }
}

void TableListWidget::SetItemTip(int index, const QString& tip) { Require(index)->setToolTip(tip); }

void TableListWidget::RemoveItem(int index) {
    Entry* entry = Require(index);
    if (entry->selected) {
        --selectedCount_;
    }
    const QScopedValueRollback changing(changingView_, true);
    const QScopedValueRollback removing(removing_, true);
    delete takeItem(index);
    newIndex_ = -1;
}

void TableListWidget::Clear() {
    {
        const QScopedValueRollback changing(changingView_, true);
        clear();
    }
    selectedCount_ = 0;
    newIndex_ = -1;
    selectionBehind_ = false;
    currentMoved_ = false;
    // A refilled list starts at its top entry, wherever the old one was scrolled to.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void TableListWidget::CatchUpLater() {
    // When pending events next run, unless the view needs it earlier (event(), viewportEvent()).
    if (!catchUpPosted_) {
        catchUpPosted_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                catchUpPosted_ = false;
                CatchUpView();
            },
            Qt::QueuedConnection);
    }
}

void TableListWidget::CatchUpView() {
    if (selectionBehind_) {
        selectionBehind_ = false;
        // The selected entries as runs of neighbours: Select All gives one range.
        QItemSelection runs;
        const int rows = count();
        for (int row = 0; row < rows; ++row) {
            if (!EntryAt(row)->selected) {
                continue;
            }
            const int first = row;
            while (row + 1 < rows && EntryAt(row + 1)->selected) {
                ++row;
            }
            runs.append(QItemSelectionRange(model()->index(first, 0), model()->index(row, 0)));
        }
        const QScopedValueRollback changing(changingView_, true);
        // Cleared first: replacing one selection by another compares every old range with every
        // new one.
        selectionModel()->clearSelection();
        if (!runs.isEmpty()) {
            selectionModel()->select(runs, QItemSelectionModel::Select);
        }
    }
    if (currentMoved_) {
        currentMoved_ = false;
        QListWidget::currentChanged(currentIndex(), QModelIndex());
    }
}

void TableListWidget::TakeSelectionFromView(const QItemSelection& selected,
                                            const QItemSelection& deselected) {
    if (changingView_) {
        return;
    }
    MarkRows(deselected, false);
    MarkRows(selected, true);
}

void TableListWidget::MarkRows(const QItemSelection& ranges, bool selected) {
    for (const QItemSelectionRange& range : ranges) {
        if (!range.isValid()) {
            continue;
        }
        for (int row = range.top(); row <= range.bottom() && row < count(); ++row) {
            Entry* entry = EntryAt(row);
            if (entry->selected != selected) {
                entry->selected = selected;
                selectedCount_ += selected ? 1 : -1;
            }
        }
    }
}

void TableListWidget::selectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    // A selected entry that goes leaves the selection: the view would work out where that entry
    // was shown by laying out the whole list again, at every removal. The rows that move up
    // repaint that place anyway.
    if (!removing_) {
        QListWidget::selectionChanged(selected, deselected);
    }
}

void TableListWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The current entry went and its neighbour took its place: the view scrolls to that one
    // once, when it catches up, rather than laying the list out again at every removal.
    if (removing_) {
        currentMoved_ = true;
        CatchUpLater();
        return;
    }
    QListWidget::currentChanged(current, previous);
}

bool TableListWidget::event(QEvent* event) {
    // Keys and focus: the view catches up first.
    CatchUpView();
    return QListWidget::event(event);
}

bool TableListWidget::viewportEvent(QEvent* event) {
    // Paints and clicks: the view catches up first.
    CatchUpView();
    return QListWidget::viewportEvent(event);
}

void TableListWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        sizes_->Forget();
    }
    QListWidget::changeEvent(event);
}

void TableListWidget::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QListWidget::mouseMoveEvent(event);
    event->accept();  // the list's own move; the frame underneath need not hear of it
}

}  // namespace quorvex
