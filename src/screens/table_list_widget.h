#pragma once

#include "data/table_list.h"

#include <QListWidget>

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

}  // namespace quorvex
