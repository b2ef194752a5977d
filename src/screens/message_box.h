#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>

class QTextEdit;

namespace quorvex {

// The program's message box: an optional icon, the text exactly as given, and OK or Yes and No.
// It always fits the screen's available area: lines wrap (a word too long for a line breaks
// anywhere, a web or e-mail address is kept whole when it fits), and a text too long for the
// screen scrolls inside the box with the buttons always in view. The text can be selected with
// the mouse, and Ctrl+C copies the whole box, title and text, for a report to be sent on.
// Without a visible window to sit over, it is centred on the screen, frame included.
class MessageBox : public QDialog {
    Q_OBJECT
  public:
    MessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
               QDialogButtonBox::StandardButtons buttons, QWidget* owner);

    QMessageBox::Icon Icon() const { return icon_; }
    const QString& Text() const { return text_; }
    QDialogButtonBox& Buttons() const { return *buttons_; }
    QTextEdit& TextView() const { return *view_; }

    // The button that closed the box; Escape counts as the last button (No, or OK).
    QDialogButtonBox::StandardButton Answer() const { return answer_; }

    // What Ctrl+C puts on the clipboard: the title and the text between separator lines.
    QString ClipboardText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FitToScreen();
    int LongestAddressWidth() const;

    QMessageBox::Icon icon_;
    QString text_;
    QTextEdit* view_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QDialogButtonBox::StandardButton answer_ = QDialogButtonBox::NoButton;
};

}  // namespace quorvex
