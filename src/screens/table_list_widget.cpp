#include "screens/table_list_widget.h"

#include "data/failure.h"
#include "data/table_name_order.h"

#include <QItemSelectionModel>
#include <QMouseEvent>

namespace quorvex {

TableListWidget::TableListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSortingEnabled(false);  // our own ordering, see AddItem
    setMouseTracking(true);
    viewport()->setMouseTracking(true);  // moves over the entries arrive at the viewport
}

QListWidgetItem* TableListWidget::Require(int index) const {
    QListWidgetItem* entry = (index >= 0 && index < count()) ? item(index) : nullptr;
    if (entry == nullptr) {
        throw Failure(QStringLiteral("Invalid list index %1").arg(index));
    }
    return entry;
}

int TableListWidget::ListCount() const { return count(); }

QString TableListWidget::List(int index) const { return Require(index)->text(); }

bool TableListWidget::Selected(int index) const { return Require(index)->isSelected(); }

void TableListWidget::SetSelected(int index, bool selected) {
    // Through the selection model directly so that no other entry and not the current entry
    // change.
    Require(index);
    selectionModel()->select(model()->index(index, 0), selected ? QItemSelectionModel::Select
                                                                : QItemSelectionModel::Deselect);
}

int TableListWidget::SelCount() const {
    int selected = 0;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected()) {
            ++selected;
        }
    }
    return selected;
}

int TableListWidget::ListIndex() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TableListWidget::SetListIndex(int index) {
    if (index == -1) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    Require(index);
    selectionModel()->setCurrentIndex(model()->index(index, 0), QItemSelectionModel::NoUpdate);
}

void TableListWidget::AddItem(const QString& text) {
    insertItem(SortedInsertPosition(
                   count(), [this](int i) { return item(i)->text(); }, text),
               text);
}

void TableListWidget::RemoveItem(int index) {
    Require(index);
    delete takeItem(index);
}

void TableListWidget::Clear() { clear(); }

void TableListWidget::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QListWidget::mouseMoveEvent(event);
    event->accept();  // the list's own move; the frame underneath need not hear of it
}

}  // namespace quorvex
