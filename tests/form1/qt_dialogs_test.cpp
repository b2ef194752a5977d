#include "screens/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace quorvex::test {
namespace {

// Answers the next modal box as soon as the event loop shows it: inspects it, then presses a
// button or cancels. Waits for the box by re-posting itself, with no time limit of its own.
void WhenBoxShows(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, [answer] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            answer(box);
        } else {
            WhenBoxShows(answer);
        }
    });
}

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

SeenBox Inspect(QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    SeenBox seen;
    if (box == nullptr) return seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) {
        seen.buttons << box->standardButton(button);
    }
    return seen;
}

void Press(QWidget* widget, QMessageBox::StandardButton which) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    ASSERT_NE(box, nullptr);
    box->button(which)->click();
}

TEST(QtDialogs, PlainBoxHasOkOnlyNoIconAndTheApplicationTitle) {
    QtDialogs dialogs;
    SeenBox seen;
    WhenBoxShows([&](QWidget* box) {
        seen = Inspect(box);
        Press(box, QMessageBox::Ok);
    });
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("Connection successful."), vbOKOnly, QString()), vbOK);
    EXPECT_EQ(seen.title, QStringLiteral("Quorvex"));
    EXPECT_EQ(seen.text, QStringLiteral("Connection successful."));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

TEST(QtDialogs, WarningBoxShowsCarriageReturnsAsLineBreaks) {
    QtDialogs dialogs;
    SeenBox seen;
    WhenBoxShows([&](QWidget* box) {
        seen = Inspect(box);
        Press(box, QMessageBox::Ok);
    });
    dialogs.MsgBox(QStringLiteral("bad\r\nin X at line 100\r\rPlease"), vbExclamation,
                   QStringLiteral("Application Error"));
    EXPECT_EQ(seen.title, QStringLiteral("Application Error"));
    EXPECT_EQ(seen.text, QStringLiteral("bad\nin X at line 100\n\nPlease"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

TEST(QtDialogs, YesNoBoxAnswersSixAndSeven) {
    QtDialogs dialogs;
    WhenBoxShows([](QWidget* box) { Press(box, QMessageBox::Yes); });
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("Would you like to overwrite A?"), vbYesNo,
                             QStringLiteral("Overwrite?")),
              vbYes);
    SeenBox seen;
    WhenBoxShows([&](QWidget* box) {
        seen = Inspect(box);
        Press(box, QMessageBox::No);
    });
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("Would you like to overwrite A?"), vbYesNo,
                             QStringLiteral("Overwrite?")),
              vbNo);
    EXPECT_EQ(seen.title, QStringLiteral("Overwrite?"));
    EXPECT_EQ(seen.buttons.size(), 2);
    // Escape means No: a Yes/No question has no third answer.
    WhenBoxShows([](QWidget* box) { qobject_cast<QMessageBox*>(box)->reject(); });
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("?"), vbYesNo, QString()), vbNo);
}

TEST(QtDialogs, InputBoxGivesTheTypedTextOrEmptyOnCancel) {
    QtDialogs dialogs;
    QString title, label, shownDefault;
    WhenBoxShows([&](QWidget* widget) {
        auto* box = qobject_cast<QInputDialog*>(widget);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        label = box->labelText();
        shownDefault = box->textValue();
        box->setTextValue(QStringLiteral("NEW_NAME"));
        box->accept();
    });
    EXPECT_EQ(dialogs.InputBox(QStringLiteral("New name:"), QString(), QStringLiteral("OLD")),
              QStringLiteral("NEW_NAME"));
    EXPECT_EQ(title, QStringLiteral("Quorvex"));
    EXPECT_EQ(label, QStringLiteral("New name:"));
    EXPECT_EQ(shownDefault, QStringLiteral("OLD"));
    WhenBoxShows([](QWidget* widget) { qobject_cast<QDialog*>(widget)->reject(); });
    EXPECT_EQ(dialogs.InputBox(QStringLiteral("New name:"), QStringLiteral("Rename"),
                               QStringLiteral("OLD")),
              QString());
}

}  // namespace
}  // namespace quorvex::test
