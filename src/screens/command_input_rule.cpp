#include "screens/command_input_rule.h"

#include "data/core/do_events.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace quorvex {

namespace {

int runningCommands = 0;
QPointer<QWidget> focusAtStart;  // where the keyboard focus was when the outermost command began

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

// The box the running command opened and shows in front (modal), or one of its pop-ups (a
// drop-down list of the folder picker).
bool BelongsToTheCommandsBox(const QWidget& widget) {
    const QWidget* window = widget.window();
    const QWidget* box = QApplication::activeModalWidget();
    const QWidget* popup = QApplication::activePopupWidget();
    return (box != nullptr && window == box) || (popup != nullptr && window == popup);
}

}  // namespace

void CommandInputRule::Install() {
    // Owned by the application: a test program's next application object gets a rule of its own.
    static QPointer<CommandInputRule> installed;
    if (installed.isNull() && QCoreApplication::instance() != nullptr) {
        installed = new CommandInputRule(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(installed);
    }
}

bool CommandInputRule::eventFilter(QObject* watched, QEvent* event) {
    // The platform gives the focus on a mouse press (and a push button becomes the default one)
    // before the press reaches the control under the mouse: a press that is to be dropped is
    // dropped where the window gets it, before that.
    if (const auto* window = qobject_cast<const QWindow*>(watched);
        window != nullptr && RunningCommand::Any() &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick)) {
        const QWidget* box = QApplication::activeModalWidget();
        const QWidget* popup = QApplication::activePopupWidget();
        return !(box != nullptr && box->windowHandle() == window) &&
               !(popup != nullptr && popup->windowHandle() == window);
    }
    // A window hands its input on to the control it is for; the rule looks at it there.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr || !IsUserInput(event->type())) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        qobject_cast<const QAbstractButton*>(widget)) {
        return true;  // the first click of the two ran the button's command
    }
    return RunningCommand::Any() && !BelongsToTheCommandsBox(*widget);
}

RunningCommand::RunningCommand() {
    if (runningCommands++ == 0) {
        focusAtStart = QApplication::focusWidget();
    }
}

RunningCommand::~RunningCommand() {
    if (runningCommands == 1) {
        DoEvents();
        // The boxes the command opened and closed leave the focus where it was, on a screen the
        // command did not put away.
        if (focusAtStart != nullptr && focusAtStart->isVisible() && focusAtStart->isEnabled() &&
            QApplication::focusWidget() != focusAtStart) {
            focusAtStart->setFocus(Qt::OtherFocusReason);
        }
        focusAtStart = nullptr;
    }
    --runningCommands;
}

bool RunningCommand::Any() { return runningCommands > 0; }

}  // namespace quorvex
