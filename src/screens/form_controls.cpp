#include "screens/form_controls.h"

#include <QMouseEvent>

namespace quorvex {

FieldTextBox::FieldTextBox(QWidget* parent) : QLineEdit(parent) { setMouseTracking(true); }

void FieldTextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectAll();
}

void FieldTextBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QLineEdit::mouseMoveEvent(event);
}

MouseFrame::MouseFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
    setMouseTracking(true);
}

void MouseFrame::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QGroupBox::mouseMoveEvent(event);
    event->accept();  // the window under the frame has nothing more to say about the pointer
}

}  // namespace quorvex
