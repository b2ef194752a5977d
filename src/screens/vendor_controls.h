#pragma once

#include "shell/ui.h"

#include <QProgressBar>
#include <QPushButton>

#include <functional>

namespace quorvex {

// Stand-in for the vendor's push button: a QPushButton that reports mouse moves over it (the
// hover-cursor rule listens to them). Mouse tracking is on so moves arrive without a button held.
// A move over the button is the button's alone: it does not travel on to the frame or window
// underneath, whose own move handlers would otherwise undo the hand at once.
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
// with a finer internal scale so fractions (33.3) move the bar. It is the commands' ProgressBar.
class VendorProgressBar : public QProgressBar, public ProgressBar {
    Q_OBJECT
  public:
    explicit VendorProgressBar(QWidget* parent = nullptr);
    double realValue() const { return value_; }
    void setRealValue(double value);

    double Value() const override { return realValue(); }
    void SetValue(double value) override { setRealValue(value); }

  private:
    double value_ = 0.0;
};

}  // namespace quorvex
