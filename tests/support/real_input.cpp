#include "support/real_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace quorvex::test {

namespace {

void SendMouse(QWidget& control, QEvent::Type type) {
    const QPointF middle(control.width() / 2.0, control.height() / 2.0);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, middle, control.mapToGlobal(middle), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&control, &event);
}

}  // namespace

void Click(QWidget& control) {
    SendMouse(control, QEvent::MouseButtonPress);
    SendMouse(control, QEvent::MouseButtonRelease);
}

void DoubleClick(QWidget& control) {
    Click(control);
    SendMouse(control, QEvent::MouseButtonDblClick);
    SendMouse(control, QEvent::MouseButtonRelease);
}

void TypeInto(QWidget& control, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(&control, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(&control, &release);
    }
}

void TurnWheel(QWidget& control) {
    const QPointF middle(control.width() / 2.0, control.height() / 2.0);
    QWheelEvent event(middle, control.mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&control, &event);
}

}  // namespace quorvex::test
