#pragma once

#include <QProgressBar>
#include <QPushButton>

#include <functional>

namespace quorvex {

// Stand-in for the vendor's push button: a QPushButton that reports mouse moves over it (the
// hover-cursor rule listens to them). Mouse tracking is on so moves arrive without a button held.
class VendorPushButton : public QPushButton {
    Q_OBJECT
public:
    explicit VendorPushButton(const QString& caption, QWidget* parent = nullptr);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// Stand-in for the vendor's progress bar: a real value on a 0 to 100 scale. The widget shows it
// with a finer internal scale so fractions (33.3) move the bar.
class VendorProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit VendorProgressBar(QWidget* parent = nullptr);
    double realValue() const { return value_; }
    void setRealValue(double value);

private:
    double value_ = 0.0;
};

}  // namespace quorvex
