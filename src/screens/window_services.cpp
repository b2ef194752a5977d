#include "screens/window_services.h"

#include "data/core/failure.h"
#include "screens/window_frame.h"
#include "shell/center_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>

namespace quorvex {

QColor ButtonFaceColor() { return QApplication::palette().color(QPalette::Button); }

void SetBackColor(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

bool IsLabelLike(const QWidget& widget) {
    return qobject_cast<const QLabel*>(&widget) != nullptr ||
           qobject_cast<const QGroupBox*>(&widget) != nullptr ||
           qobject_cast<const QRadioButton*>(&widget) != nullptr ||
           qobject_cast<const QCheckBox*>(&widget) != nullptr;
}

void ApplyPlainColors(QWidget& form) {
    const QColor face = ButtonFaceColor();
    SetBackColor(form, face);
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (control->window() == &form && IsLabelLike(*control)) {
            SetBackColor(*control, face);
        }
    }
}

void CenterForm(QWidget& form) {
    QScreen* screen = form.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        throw Failure(QStringLiteral("There is no screen to place the window on."));
    }
    const QRect area = screen->geometry();
    const QMargins frame = WindowFrameMargins(form);
    const QSize outer = form.size().grownBy(frame);
    const CenteredPosition position =
        CenterOnScreen(area.width(), area.height(), outer.width(), outer.height());
    // The client area's place, which the window manager keeps whether or not it has framed the
    // window yet: a frame position given before the first showing would be read with a frame of
    // unknown size.
    const QPoint frameTopLeft(area.left() + qRound(position.left),
                              area.top() + qRound(position.top));
    form.setGeometry(QRect(frameTopLeft + QPoint(frame.left(), frame.top()), form.size()));
}

}  // namespace quorvex
