#include "form1_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvex::test {

void Form1Test::Provide(const QString& resource, const QString& asName) const {
    const QString target = programFolder.filePath(asName);
    QDir().mkpath(QFileInfo(target).absolutePath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVEX_SOURCE_DIR "/resources/") + resource, target));
}

void Form1Test::PressKey(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "no widget has the focus";
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
}

void Form1Test::Type(const QString& text) {
    for (const QChar character : text) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << "no widget has the focus";
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(target, &press);
    }
}

void Form1Test::ShowAndActivate() const {
    form->show();
    QApplication::setActiveWindow(form.get());
    form->activateWindow();
    QApplication::processEvents();
}

}  // namespace quorvex::test
