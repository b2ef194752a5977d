#pragma once

#include "data/table_list.h"

#include <QListWidget>

#include <functional>

namespace quorvex {

// The tables screen's list box: a QListWidget with extended multiple selection whose entries
// stay sorted alphabetically ignoring case. Qt's own sorting compares with case, so entries carry
// their own ordering and are inserted at their place.
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
    void RemoveItem(int index) override;
    void Clear() override;

  signals:
    void mouseMoved();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QListWidgetItem* Require(int index) const;
};

// The order of the lists: alphabetical ignoring case (accented letters beside their plain
// forms), names equal that way in a fixed order. Negative, zero or positive like strcmp.
int CompareTableNames(const QString& a, const QString& b);

// The place a new entry takes: after every entry that sorts before it or equal to it.
int SortedInsertPosition(int count, const std::function<QString(int)>& entryAt,
                         const QString& text);

}  // namespace quorvex
