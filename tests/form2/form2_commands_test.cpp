#include "form2_fixture.h"
#include "screens/qt_dialogs.h"
#include "screens/vendor_controls.h"
#include "support/real_input.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QScrollBar>
#include <QTimer>

namespace quorvex::test {
namespace {

using Form2Commands = Form2Test;

QList<int> SelectedRows(const TableList& list) {
    QList<int> rows;
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.Selected(i)) {
            rows.append(i);
        }
    }
    return rows;
}

TEST_F(Form2Commands, SelectAllSelectsEveryEntryOfItsOwnListOnly) {
    for (int i = 0; i < 300; ++i) {  // most of them scrolled out of view
        List1().AddItem(QStringLiteral("ORACLE_%1").arg(i));
    }
    Fill(List2(), {"P1", "P2", "P3"});
    List1().SetListIndex(7);
    List2().SetSelected(1, true);
    form->MousePointerState().SetMousePointer(vbCustom);
    form->show();
    QCoreApplication::processEvents();
    List1().verticalScrollBar()->setValue(40);

    Button("PushButton10").click();
    EXPECT_EQ(List1().SelCount(), 300);
    EXPECT_EQ(List1().ListIndex(), 7);
    EXPECT_EQ(SelectedRows(List2()), QList<int>{1});
    QCoreApplication::processEvents();  // the view shows what the entries hold, where it was
    EXPECT_EQ(List1().selectedItems().size(), 300);
    EXPECT_EQ(List1().verticalScrollBar()->value(), 40);

    Button("PushButton8").click();
    EXPECT_EQ(List2().SelCount(), 3);
    EXPECT_EQ(List1().SelCount(), 300);
    EXPECT_EQ(Pointer(), vbCustom);  // no hourglass for these
    EXPECT_TRUE(dialogs.boxes.empty());
}

// A freshly filled list has no current entry; without one every command that acts on the
// selection would answer "Please select..." after "Select All". Its first entry becomes current,
// and the view stays where the user scrolled it.
TEST_F(Form2Commands, SelectAllGivesAListWithoutACurrentEntryItsFirstOne) {
    for (int i = 0; i < 300; ++i) {
        List2().AddItem(QStringLiteral("PARADOX_%1").arg(i));
    }
    form->show();
    QCoreApplication::processEvents();
    List2().verticalScrollBar()->setValue(40);
    ASSERT_EQ(List2().ListIndex(), -1);

    Button("PushButton8").click();
    EXPECT_EQ(List2().ListIndex(), 0);
    EXPECT_EQ(List2().SelCount(), 300);
    EXPECT_EQ(List2().verticalScrollBar()->value(), 40);
    EXPECT_TRUE(dialogs.boxes.empty());
}

// While a command runs it lets window events in, yet the clicks, keys and wheel turns that arrive
// meanwhile reach no control: not another command, not "< Back", not the lists. They are dropped,
// not kept for after the command; then input works as before.
TEST_F(Form2Commands, InputArrivingDuringACommandIsDroppedNotDeferred) {
    QWidget connectionScreen;
    form->SetConnectionScreen(&connectionScreen);
    for (int i = 0; i < 20000; ++i) {
        List2().AddItem(QStringLiteral("T%1").arg(i, 5, 10, QLatin1Char('0')));
    }
    Fill(List1(), {"ORA_A", "ORA_B"});
    List1().SetSelected(1, true);
    form->show();
    bool arrived = false;
    QTimer::singleShot(0, form.get(), [&] {
        arrived = true;
        Click(Button("PushButton9"));   // Deselect All on the same list
        Click(Button("PushButton11"));  // Deselect All on the other one
        Click(Button("PushButton2"));   // < Back
        Click(Button("PushButton12"));  // Help
        TypeInto(List2(), QStringLiteral("T19"));
        Click(*List1().viewport());
        TurnWheel(*List2().viewport());
    });

    Click(Button("PushButton8"));  // Select All, letting events in as it goes
    QCoreApplication::processEvents();
    EXPECT_TRUE(arrived) << "the command let no events in";
    EXPECT_EQ(List2().SelCount(), 20000);
    EXPECT_EQ(List2().ListIndex(), 0);
    EXPECT_EQ(List1().SelCount(), 1);
    EXPECT_TRUE(List1().Selected(1));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(connectionScreen.isVisible());
    EXPECT_EQ(List2().verticalScrollBar()->value(), 0);
    EXPECT_TRUE(dialogs.boxes.empty());

    Click(Button("PushButton9"));
    EXPECT_EQ(List2().SelCount(), 0);
}

// The boxes a command opens take input as usual, while the window behind them takes none.
TEST_F(Form2Commands, TheBoxACommandOpensTakesInput) {
    QtDialogs realBoxes;
    Form2 screen(fields, realBoxes);
    screen.show();
    Fill(screen.ParadoxList(), {"P1", "P2"});
    bool answered = false;
    QTimer::singleShot(0, &screen, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        Click(*screen.findChild<QPushButton*>(QStringLiteral("PushButton8")));  // dropped
        Click(*box->findChild<QDialogButtonBox*>()->buttons().constFirst());
        answered = !box->isVisible();
        if (!answered) {
            box->close();
        }
    });
    Click(*screen.findChild<QPushButton*>(QStringLiteral("PushButton12")));  // Help: a box
    EXPECT_TRUE(answered);
    EXPECT_EQ(screen.ParadoxList().SelCount(), 0);
}

TEST_F(Form2Commands, ADoubleClickOnACommandButtonRunsItsCommandOnce) {
    DoubleClick(Button("PushButton12"));  // Help: its box came and went before the second press
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    Click(Button("PushButton12"));  // a click after it is a click of its own
    EXPECT_EQ(dialogs.boxes.size(), 2u);
}

TEST_F(Form2Commands, DeselectAllClearsEveryEntryAndKeepsTheCurrentOne) {
    Fill(List1(), {"A", "B", "C"});
    Fill(List2(), {"X", "Y"});
    for (int i = 0; i < 3; ++i) {
        List1().SetSelected(i, true);
    }
    List2().SetSelected(0, true);
    List1().SetListIndex(2);
    List2().SetListIndex(1);

    Button("PushButton11").click();
    EXPECT_EQ(List1().SelCount(), 0);
    EXPECT_EQ(List1().ListIndex(), 2);
    EXPECT_EQ(SelectedRows(List2()), QList<int>{0});

    Button("PushButton9").click();
    EXPECT_EQ(List2().SelCount(), 0);
    EXPECT_EQ(List2().ListIndex(), 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Form2Commands, SelectionCommandsOnEmptyListsDoNothingAndReportNothing) {
    for (const char* name : {"PushButton8", "PushButton9", "PushButton10", "PushButton11"}) {
        Button(name).click();
    }
    EXPECT_EQ(List1().ListCount(), 0);
    EXPECT_EQ(List2().ListCount(), 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Form2Commands, HelpNamesOurContactPageInAPlainBox) {
    Button("PushButton12").click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Questions? Please contact Team Veltrane at "
                                                    "https://quorvex.example.com/contact"));
    EXPECT_EQ(dialogs.boxes[0].buttons, vbOKOnly);
    EXPECT_TRUE(dialogs.boxes[0].title.isEmpty());  // the application title
}

TEST_F(Form2Commands, SendTablesToParadoxDoesNothingAtAll) {
    Fill(List1(), {"A", "B"});
    Fill(List2(), {"X"});
    List1().SetSelected(1, true);
    List1().SetListIndex(0);
    form->MousePointerState().SetMousePointer(vbCustom);

    Button("PushButton3").click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(List1().ListCount(), 2);
    EXPECT_EQ(SelectedRows(List1()), QList<int>{1});
    EXPECT_EQ(List1().ListIndex(), 0);
    EXPECT_EQ(List2().ListCount(), 1);
    EXPECT_EQ(Pointer(), vbCustom);
}

TEST_F(Form2Commands, BackShowsTheConnectionScreenAndHidesThisOneWithItsLists) {
    QWidget connectionScreen;
    form->SetConnectionScreen(&connectionScreen);
    Fill(List1(), {"KEPT"});
    List1().SetSelected(0, true);
    form->show();

    Button("PushButton2").click();
    EXPECT_TRUE(connectionScreen.isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(List1().List(0), QStringLiteral("KEPT"));
    EXPECT_TRUE(List1().Selected(0));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Form2Commands, BackWithoutAConnectionScreenReportsAndKeepsThisWindowUp) {
    form->show();
    Button("PushButton2").click();
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_TRUE(dialogs.Errors()[0].text.contains("Form2.PushButton2_Click at line 100"));
}

TEST_F(Form2Commands, ButtonsShowTheHandExceptSendToParadox) {
    for (const char* name :
         {"PushButton1", "PushButton2", "PushButton4", "PushButton5", "PushButton6", "PushButton7",
          "PushButton8", "PushButton9", "PushButton10", "PushButton11", "PushButton12"}) {
        SCOPED_TRACE(name);
        form->MousePointerState().SetMousePointer(vbDefault);
        MoveOver(Button(name));
        EXPECT_EQ(Pointer(), vbCustom);
    }
    form->MousePointerState().SetMousePointer(vbDefault);
    MoveOver(Button("PushButton3"));
    EXPECT_EQ(Pointer(), vbDefault);
    form->MousePointerState().SetMousePointer(vbCustom);
    MoveOver(Button("PushButton3"));
    EXPECT_EQ(Pointer(), vbCustom);
}

TEST_F(Form2Commands, SurfacesRestoreTheArrowAndTheProgressBarLeavesThePointer) {
    const auto overSurface = [&](QWidget& surface) {
        form->MousePointerState().SetMousePointer(vbCustom);
        MoveOver(surface);
        return Pointer();
    };
    EXPECT_EQ(overSurface(*form), vbDefault);
    EXPECT_EQ(overSurface(Control("Frame1")), vbDefault);
    EXPECT_EQ(overSurface(Control("Frame2")), vbDefault);
    EXPECT_EQ(overSurface(*List1().viewport()), vbDefault);
    EXPECT_EQ(overSurface(*List2().viewport()), vbDefault);
    EXPECT_EQ(overSurface(Control("ProgressBar1")), vbCustom);
}

TEST_F(Form2Commands, TheHourglassStaysWhateverThePointerPassesOver) {
    form->MousePointerState().SetMousePointer(vbHourglass);
    for (QWidget* surface : {static_cast<QWidget*>(form.get()), &Control("Frame1"),
                             List1().viewport(), static_cast<QWidget*>(&Button("PushButton4")),
                             static_cast<QWidget*>(&Button("PushButton2"))}) {
        MoveOver(*surface);
        EXPECT_EQ(Pointer(), vbHourglass) << surface->objectName().toStdString();
    }
}

TEST_F(Form2Commands, TheProgressBarIsTheCommandsRealValuedBar) {
    auto& bar = Control<VendorProgressBar>("ProgressBar1");
    ProgressBar& asCommandsSeeIt = bar;
    asCommandsSeeIt.SetValue(33.3);
    EXPECT_DOUBLE_EQ(asCommandsSeeIt.Value(), 33.3);
    EXPECT_GT(bar.value(), bar.minimum());
    asCommandsSeeIt.SetValue(0);
    EXPECT_EQ(bar.value(), bar.minimum());
}

TEST_F(Form2Commands, ClosingTheWindowEndsTheProgramAtOnce) {
    QWidget connectionScreen;  // still there, hidden: it must not keep the program alive
    form->SetConnectionScreen(&connectionScreen);
    form->show();
    EXPECT_EXIT(form->close(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quorvex::test
