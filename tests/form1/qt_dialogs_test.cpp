#include "screens/qt_dialogs.h"
#include "screens/message_box.h"
#include "screens/tables_screen_commands.h"
#include "shell/error_report.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
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
    QList<QDialogButtonBox::StandardButton> buttons;
};

SeenBox Inspect(QWidget* widget) {
    auto* box = qobject_cast<MessageBox*>(widget);
    SeenBox seen;
    if (box == nullptr) return seen;
    seen.title = box->windowTitle();
    seen.text = box->Text();
    seen.icon = box->Icon();
    for (QAbstractButton* button : box->Buttons().buttons()) {
        seen.buttons << box->Buttons().standardButton(button);
    }
    return seen;
}

void Press(QWidget* widget, QDialogButtonBox::StandardButton which) {
    auto* box = qobject_cast<MessageBox*>(widget);
    ASSERT_NE(box, nullptr);
    box->Buttons().button(which)->click();
}

// Runs `show` (which opens one box) and hands the open box to `look` before closing it.
void LookAtBox(const std::function<void()>& show, const std::function<void(MessageBox&)>& look) {
    WhenBoxShows([&](QWidget* widget) {
        auto* box = qobject_cast<MessageBox*>(widget);
        if (box != nullptr) {
            look(*box);
        }
        EXPECT_NE(box, nullptr) << "the box is not the program's message box";
        qobject_cast<QDialog*>(widget)->reject();
    });
    show();
}

TEST(QtDialogs, PlainBoxHasOkOnlyNoIconAndTheApplicationTitle) {
    QtDialogs dialogs;
    SeenBox seen;
    WhenBoxShows([&](QWidget* box) {
        seen = Inspect(box);
        Press(box, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("Connection successful."), vbOKOnly, QString()), vbOK);
    EXPECT_EQ(seen.title, QStringLiteral("Quorvex"));
    EXPECT_EQ(seen.text, QStringLiteral("Connection successful."));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QList<QDialogButtonBox::StandardButton>{QDialogButtonBox::Ok});
}

TEST(QtDialogs, WarningBoxShowsCarriageReturnsAsLineBreaks) {
    QtDialogs dialogs;
    SeenBox seen;
    WhenBoxShows([&](QWidget* box) {
        seen = Inspect(box);
        Press(box, QDialogButtonBox::Ok);
    });
    dialogs.MsgBox(QStringLiteral("bad\r\nin X at line 100\r\rPlease"), vbExclamation,
                   QStringLiteral("Application Error"));
    EXPECT_EQ(seen.title, QStringLiteral("Application Error"));
    EXPECT_EQ(seen.text, QStringLiteral("bad\nin X at line 100\n\nPlease"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QList<QDialogButtonBox::StandardButton>{QDialogButtonBox::Ok});
}

TEST(QtDialogs, YesNoBoxAnswersSixAndSeven) {
    QtDialogs dialogs;
    WhenBoxShows([](QWidget* box) { Press(box, QDialogButtonBox::Yes); });
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("Would you like to overwrite A?"), vbYesNo,
                             QStringLiteral("Overwrite?")),
              vbYes);
    SeenBox seen;
    WhenBoxShows([&](QWidget* box) {
        seen = Inspect(box);
        Press(box, QDialogButtonBox::No);
    });
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("Would you like to overwrite A?"), vbYesNo,
                             QStringLiteral("Overwrite?")),
              vbNo);
    EXPECT_EQ(seen.title, QStringLiteral("Overwrite?"));
    EXPECT_EQ(seen.buttons.size(), 2);
    // Escape means No: a Yes/No question has no third answer.
    WhenBoxShows([](QWidget* box) { qobject_cast<QDialog*>(box)->reject(); });
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("?"), vbYesNo, QString()), vbNo);
    // The plain letters answer too, even with the focus on the other button (which an unheard
    // key leaves to answer).
    for (const auto& [key, other] : {std::pair{Qt::Key_N, QDialogButtonBox::Yes},
                                     std::pair{Qt::Key_Y, QDialogButtonBox::No}}) {
        WhenBoxShows([key, other](QWidget* box) {
            QAbstractButton* button = qobject_cast<MessageBox*>(box)->Buttons().button(other);
            button->setFocus();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key + 32)));
            QApplication::sendEvent(box->focusWidget(), &press);
            if (box->isVisible()) {
                button->click();
            }
        });
        EXPECT_EQ(dialogs.MsgBox(QStringLiteral("?"), vbYesNo, QString()),
                  key == Qt::Key_Y ? vbYes : vbNo);
    }
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

// Whatever the description, the box stays within the screen's available area with OK inside
// it; an unbroken name wraps instead of running out at the right, and a text taller than the
// screen scrolls. The text is the report unchanged.
TEST(MessageBoxFit, LongReportsStayOnTheScreenWithOkInViewAndLongWordsWrap) {
    QtDialogs dialogs;
    const QString name(300, QLatin1Char('N'));
    const QString folder =
        QStringLiteral("/data/") + QStringLiteral("Paradox tables ").repeated(333);  // 5,001
    for (const QString& description : {name, folder, folder.repeated(4)}) {
        SCOPED_TRACE(description.size());
        LookAtBox(
            [&] {
                ReportApplicationError(dialogs, QStringLiteral("Form1.PushButton3_Click"), 102,
                                       description);
            },
            [&](MessageBox& box) {
                EXPECT_EQ(box.Text(),
                          ToDisplayLineBreaks(ApplicationErrorText(
                              QStringLiteral("Form1.PushButton3_Click"), 102, description)));
                // Offscreen windows have no window manager's frame; the end-to-end test
                // checks the framed box.
                EXPECT_TRUE(box.screen()->availableGeometry().contains(box.geometry()));
                const QPushButton* ok = box.Buttons().button(QDialogButtonBox::Ok);
                EXPECT_TRUE(box.rect().contains(QRect(ok->mapTo(&box, QPoint()), ok->size())));
                const QTextEdit& view = box.TextView();
                EXPECT_LE(view.document()->idealWidth(), view.viewport()->width());
                EXPECT_GT(view.document()->firstBlock().layout()->lineCount(), 1);
                EXPECT_EQ(view.verticalScrollBar()->maximum() > 0, description != name);
            });
    }
}

// An address is never broken at its "/" while it fits on a line, even where a line would have
// room for its first part; the tables screen's "Help" keeps its address on one line.
TEST(MessageBoxFit, WebAddressesStayOnOneLine) {
    QtDialogs dialogs;
    const auto addressOnOneLine = [](MessageBox& box) {
        const QTextBlock block = box.TextView().document()->firstBlock();
        const QTextLayout& layout = *block.layout();
        const int start = static_cast<int>(block.text().lastIndexOf(QLatin1Char(' '))) + 1;
        EXPECT_EQ(layout.lineForTextPosition(start).lineNumber(),
                  layout.lineForTextPosition(block.length() - 2).lineNumber());
    };
    LookAtBox([&] { ShowTablesHelp(dialogs); }, addressOnOneLine);
    LookAtBox(
        [&] {
            dialogs.MsgBox(QStringLiteral("word ").repeated(95) + kContactPage, vbOKOnly,
                           QString());
        },
        addressOnOneLine);
}

// The user is asked to send the report: Ctrl+C wherever the focus is in the box copies its title
// and text, and the mouse selects text.
TEST(MessageBoxCopy, CtrlCCopiesTitleAndTextAndTheMouseSelects) {
    QtDialogs dialogs;
    LookAtBox(
        [&] {
            dialogs.MsgBox(QStringLiteral("Would you like to overwrite A?"), vbYesNo,
                           QStringLiteral("Overwrite?"));
        },
        [](MessageBox& box) {
            QApplication::clipboard()->clear();
            QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
            QApplication::sendEvent(box.focusWidget(), &copy);
            EXPECT_EQ(QApplication::clipboard()->text(),
                      QStringLiteral("---------------------------\nOverwrite?\n"
                                     "---------------------------\n"
                                     "Would you like to overwrite A?\n"
                                     "---------------------------\n"));
            QWidget& viewport = *box.TextView().viewport();
            const int y = viewport.height() / 2;
            const auto mouse = [&](QEvent::Type type, int x, Qt::MouseButtons held) {
                QMouseEvent event(type, QPointF(x, y), viewport.mapToGlobal(QPointF(x, y)),
                                  Qt::LeftButton, held, Qt::NoModifier);
                QApplication::sendEvent(&viewport, &event);
            };
            mouse(QEvent::MouseButtonPress, 1, Qt::LeftButton);
            mouse(QEvent::MouseMove, viewport.width() - 1, Qt::LeftButton);
            mouse(QEvent::MouseButtonRelease, viewport.width() - 1, Qt::NoButton);
            EXPECT_EQ(box.TextView().textCursor().selectedText(),
                      QStringLiteral("Would you like to overwrite A?"));
        });
}

// A box shown while no window of the program is on the screen (a failure at start-up) stands
// on its own in the middle of the screen, not where the hidden window would be.
TEST(MessageBoxPlace, WithoutAWindowOnTheScreenTheBoxIsCentredOnIt) {
    QWidget hiddenOwner;
    QtDialogs dialogs(&hiddenOwner);
    LookAtBox(
        [&] {
            dialogs.MsgBox(QStringLiteral("The skin file is damaged"), vbExclamation,
                           QStringLiteral("Application Error"));
        },
        [](MessageBox& box) {
            EXPECT_EQ(box.parentWidget(), nullptr);
            EXPECT_LE((box.frameGeometry().center() - box.screen()->geometry().center())
                          .manhattanLength(),
                      2);
        });
}

}  // namespace
}  // namespace quorvex::test
