#include "screens/vendor_controls.h"

#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace quorvex {

namespace {
constexpr int kProgressSteps = 1000;  // internal steps per 100
}

VendorPushButton::VendorPushButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setMouseTracking(true);
    // A button ignores moves while it is not pressed, which would hand them on to the frame or
    // window under it and undo the hand the button's own move just asked for.
    setAttribute(Qt::WA_NoMousePropagation);
}

void VendorPushButton::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QPushButton::mouseMoveEvent(event);
    event->accept();
}

VendorProgressBar::VendorProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, kProgressSteps);
    setValue(0);
    setTextVisible(false);
}

void VendorProgressBar::setRealValue(double value) {
    value_ = value;
    const double clamped = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 100.0);
    setValue(static_cast<int>(std::lround(clamped * kProgressSteps / 100.0)));
}

}  // namespace quorvex
