#include "screens/qt_dialogs.h"

#include "screens/message_box.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>

namespace quorvex {

namespace {

constexpr int kButtonBits = 7;
constexpr int kIconBits = 112;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbInformation = 64;

QMessageBox::Icon IconOf(int buttons) {
    switch (buttons & kIconBits) {
        case vbCritical:
            return QMessageBox::Critical;
        case vbQuestion:
            return QMessageBox::Question;
        case vbExclamation:
            return QMessageBox::Warning;
        case vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

QString ToDisplayLineBreaks(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString BoxTitle(const QString& title) { return title.isEmpty() ? kApplicationTitle : title; }

QWidget* QtDialogs::Owner() const {
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    // A box over a window that is not on the screen would be placed by where that window would
    // be; a box of its own is centred on the screen instead.
    return owner_ && owner_->isVisible() ? owner_.data() : nullptr;
}

int QtDialogs::MsgBox(const QString& text, int buttons, const QString& title) {
    const bool yesNo = (buttons & kButtonBits) == vbYesNo;
    MessageBox box(IconOf(buttons), BoxTitle(title), ToDisplayLineBreaks(text),
                   yesNo ? QDialogButtonBox::Yes | QDialogButtonBox::No : QDialogButtonBox::Ok,
                   Owner());
    box.exec();
    if (yesNo) {
        return box.Answer() == QDialogButtonBox::Yes ? vbYes : vbNo;
    }
    return vbOK;
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    bool accepted = false;
    const QString typed =
        QInputDialog::getText(Owner(), BoxTitle(title), ToDisplayLineBreaks(prompt),
                              QLineEdit::Normal, defaultText, &accepted);
    return accepted ? typed : QString();
}

QString QtDialogs::BrowseForFolder(const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(Owner(), title, QDir::homePath(),
                                                             QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder);
}

}  // namespace quorvex
