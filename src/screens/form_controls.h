#pragma once

#include <QGroupBox>
#include <QLineEdit>

namespace quorvex {

// A connection field's text box: selects its whole text whenever it receives the keyboard focus
// (so typing replaces it) and reports mouse moves over it.
class FieldTextBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit FieldTextBox(QWidget* parent = nullptr);

  signals:
    void mouseMoved();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

// A frame that reports mouse moves over its own surface.
class MouseFrame : public QGroupBox {
    Q_OBJECT
  public:
    explicit MouseFrame(const QString& caption, QWidget* parent = nullptr);

  signals:
    void mouseMoved();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace quorvex
