#pragma once

#include <QString>
#include <QStringList>

namespace quorvex {

// The selected tables a delete could not delete, each with its reason, gathered during the walk
// for the one report that ends it: a box per table would bury the user under thousands of boxes
// when a whole folder refuses. The report names the first few and counts the rest.
class UndeletedTables {
  public:
    void Add(const QString& table, const QString& reason);
    bool IsEmpty() const { return count_ == 0; }
    // The report: how many stay, then "TABLE: reason" lines in list order.
    QString Text() const;

  private:
    static constexpr int kNamedAtMost = 20;
    int count_ = 0;
    QStringList lines_;  // in the order added: the walk runs from the bottom of the list up
};

}  // namespace quorvex
