#include "screens/table_list_widget.h"
#include "data/core/failure.h"
#include "shell/table_listing.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace quorvex::test {
namespace {

QStringList Entries(const TableListWidget& list) {
    QStringList entries;
    for (int i = 0; i < list.ListCount(); ++i) {
        entries.append(list.List(i));
    }
    return entries;
}

// In the order the list must show them: alphabetical ignoring case, accented letters beside
// their plain forms, punctuation and digits before letters, digits compared as text.
const QStringList kSorted = {
    "_LOG",
    "10",
    "2",
    "ALPHA",
    "Alpha",
    "alpha",
    "apfel",
    QString::fromUtf8("Äpfel"),
    "Beta",
    "eclair",
    QString::fromUtf8("Éclair"),
    "Mixed Case",
    "MixedCase",
    QString::fromUtf8("Ölbaum"),
    "T10",
    "t2",
    "Zeta",
    "zz",
};

TEST(TableListWidget, KeepsAlphabeticalOrderIgnoringCaseWhateverTheOrderOfAdding) {
    std::mt19937 random(20150219);
    for (int round = 0; round < 20; ++round) {
        QStringList adding = kSorted;
        std::shuffle(adding.begin(), adding.end(), random);
        TableListWidget list;
        for (const QString& name : adding) {
            list.AddItem(name);
        }
        ASSERT_EQ(Entries(list), kSorted) << "added as " << adding.join(", ").toStdString();
    }
}

TEST(TableListWidget, EqualNamesAreKeptSideBySide) {
    TableListWidget list;
    for (const char* name : {"SAME", "other", "SAME", "same"}) {
        list.AddItem(name);
    }
    EXPECT_EQ(Entries(list), (QStringList{"other", "SAME", "SAME", "same"}));
    // Told apart before acting: a subfolder's entry is muted and names its subfolder, one of two
    // files of a name names its file; the text stays the bare name.
    AddParadoxTable(list, "Archive/1998", "SAME");
    const QListWidgetItem* archived = list.item(list.NewIndex());
    EXPECT_EQ(archived->text(), "SAME");
    EXPECT_TRUE(archived->toolTip().contains("\"Archive/1998\""))
        << archived->toolTip().toStdString();
    EXPECT_EQ(archived->foreground().color(),
              list.palette().color(QPalette::Disabled, QPalette::Text));
    AddParadoxTable(list, QString(), "T", "T.db");
    EXPECT_EQ(list.item(list.NewIndex())->toolTip(), "The file \"T.db\"");
}

TEST(TableListWidget, SelectingOneEntryChangesNoOtherEntryNorTheCurrentOne) {
    TableListWidget list;
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        list.AddItem(name);
    }
    list.SetListIndex(4);
    list.SetSelected(1, true);
    list.SetSelected(3, true);
    list.SetSelected(2, true);
    EXPECT_TRUE(list.Selected(1) && list.Selected(2) && list.Selected(3));
    EXPECT_FALSE(list.Selected(0) || list.Selected(4));
    EXPECT_EQ(list.SelCount(), 3);
    list.SetSelected(2, false);
    EXPECT_TRUE(list.Selected(1) && list.Selected(3));
    EXPECT_FALSE(list.Selected(2));
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_EQ(list.ListIndex(), 4);
}

TEST(TableListWidget, TheCurrentEntryIsMinusOneWhenThereIsNone) {
    TableListWidget list;
    EXPECT_EQ(list.ListIndex(), -1);
    list.AddItem("A");
    list.AddItem("B");
    EXPECT_EQ(list.ListIndex(), -1);  // filled but untouched
    list.SetListIndex(1);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_FALSE(list.Selected(1));  // current is not selected
    list.SetListIndex(-1);
    EXPECT_EQ(list.ListIndex(), -1);
    list.SetListIndex(0);
    list.Clear();
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.ListCount(), 0);
}

TEST(TableListWidget, RemovingAnEntryMovesTheLaterOnesUpAndKeepsOtherSelections) {
    TableListWidget list;
    for (const char* name : {"A", "B", "C", "D"}) {
        list.AddItem(name);
    }
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    list.SetSelected(3, true);
    list.SetListIndex(2);
    list.RemoveItem(2);  // selected and current
    EXPECT_EQ(Entries(list), (QStringList{"A", "B", "D"}));
    EXPECT_TRUE(list.Selected(0));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_TRUE(list.Selected(2));
    EXPECT_EQ(list.SelCount(), 2);
}

TEST(TableListWidget, IndexesOutsideTheListRaiseFailure) {
    TableListWidget list;
    list.AddItem("A");
    EXPECT_THROW(list.List(1), Failure);
    EXPECT_THROW(list.List(-1), Failure);
    EXPECT_THROW(list.Selected(5), Failure);
    EXPECT_THROW(list.SetSelected(1, true), Failure);
    EXPECT_THROW(list.RemoveItem(1), Failure);
    EXPECT_THROW(list.SetListIndex(3), Failure);
    EXPECT_EQ(Entries(list), QStringList{"A"});
}

// Clicks the middle of an entry with the given keys held.
void Click(TableListWidget& list, int row, Qt::KeyboardModifiers keys) {
    const QPoint at = list.visualItemRect(list.item(row)).center();
    const QPointF global = list.viewport()->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      keys);
    QCoreApplication::sendEvent(list.viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                        Qt::NoButton, keys);
    QCoreApplication::sendEvent(list.viewport(), &release);
}

// Six entries, A to F, on the screen.
void FillAndShow(TableListWidget& list) {
    for (const char* name : {"A", "B", "C", "D", "E", "F"}) {
        list.AddItem(name);
    }
    list.resize(200, 200);
    list.show();
}

TEST(TableListWidget, ClicksSelectOneShiftSelectsARangeControlAddsOrRemovesOne) {
    TableListWidget list;
    FillAndShow(list);

    Click(list, 1, Qt::NoModifier);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_TRUE(list.Selected(1));
    EXPECT_EQ(list.ListIndex(), 1);

    Click(list, 3, Qt::ShiftModifier);
    EXPECT_EQ(list.SelCount(), 3);
    EXPECT_TRUE(list.Selected(1) && list.Selected(2) && list.Selected(3));
    EXPECT_EQ(list.ListIndex(), 3);

    Click(list, 5, Qt::ControlModifier);
    EXPECT_EQ(list.SelCount(), 4);
    Click(list, 2, Qt::ControlModifier);
    EXPECT_EQ(list.SelCount(), 3);
    EXPECT_FALSE(list.Selected(2));
    EXPECT_EQ(list.ListIndex(), 2);

    Click(list, 0, Qt::NoModifier);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_TRUE(list.Selected(0));
}

TEST(TableListWidget, ChangesAreReadAtOnceAndShownInTheViewBeforeItPaintsOrTakesAClick) {
    TableListWidget list;
    FillAndShow(list);
    list.SetSelected(1, true);
    list.SetSelected(2, true);
    list.SetSelected(4, true);
    list.SetSelected(2, false);
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_TRUE(list.Selected(1) && list.Selected(4));
    EXPECT_FALSE(list.Selected(2));
    QCoreApplication::processEvents();
    EXPECT_EQ(list.selectedItems(), (QList<QListWidgetItem*>{list.item(1), list.item(4)}));

    // A click on a list whose last change the view has not shown yet works on that change.
    list.SetSelected(5, true);
    Click(list, 0, Qt::ControlModifier);
    EXPECT_EQ(list.SelCount(), 4);
    Click(list, 3, Qt::NoModifier);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_TRUE(list.Selected(3));
    EXPECT_EQ(list.selectedItems(), QList<QListWidgetItem*>{list.item(3)});
}

TEST(TableListWidget, ARefilledListStartsAtItsTopEntry) {
    TableListWidget list;
    list.resize(222, 109);
    list.show();
    for (int i = 0; i < 200; ++i) {
        list.AddItem(QStringLiteral("T%1").arg(i, 3, 10, QLatin1Char('0')));
    }
    QCoreApplication::processEvents();
    list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum());
    ASSERT_GT(list.verticalScrollBar()->value(), 0);

    list.Clear();
    for (int i = 0; i < 200; ++i) {
        list.AddItem(QStringLiteral("U%1").arg(i, 3, 10, QLatin1Char('0')));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(list.verticalScrollBar()->value(), 0);
    EXPECT_EQ(list.indexAt(QPoint(5, 5)).row(), 0);
}

}  // namespace
}  // namespace quorvex::test
