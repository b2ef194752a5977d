#include "screens/command_input_rule.h"

#include "data/core/do_events.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace quorvex {

namespace {

int runningCommands = 0;

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

RunningCommand::RunningCommand() { ++runningCommands; }

RunningCommand::~RunningCommand() {
    if (runningCommands == 1) {
        DoEvents();
    }
    --runningCommands;
}

bool RunningCommand::Any() { return runningCommands > 0; }

}  // namespace quorvex
