#include "screens/form_controls.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>

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

namespace {

// The classic frame: an etched line with the caption standing on it, and nothing drawn inside,
// so the frame's own colour fills it. The platform's default style draws a shaded panel below
// its caption instead. One style serves every frame; the application owns it.
QStyle& ClassicFrameStyle() {
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = QStyleFactory::create(QStringLiteral("Windows"));
        if (style.isNull()) {
            style = QApplication::style();
        } else {
            style->setParent(QCoreApplication::instance());
        }
    }
    return *style;
}

}  // namespace

MouseFrame::MouseFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
    setMouseTracking(true);
    // Only the frame itself: its controls keep the application's style.
    setStyle(&ClassicFrameStyle());
}

void MouseFrame::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QGroupBox::mouseMoveEvent(event);
    event->accept();  // the window under the frame has nothing more to say about the pointer
}

}  // namespace quorvex
