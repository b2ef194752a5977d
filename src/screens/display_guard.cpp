#include "screens/display_guard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdlib>

#include <unistd.h>

namespace quorvex {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
QList<HeldMessage>* heldMessages = nullptr;

[[noreturn]] void EndWithoutWindow(const QString& why) {
    const QByteArray line = ("quorvex: the window needs a display (" + why +
                             "); the command line needs none: see 'quorvex --help'.\n")
                                .toUtf8();
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.constData(), line.size());
    ::_exit(1);
}

void HoldPlatformMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const QByteArray category(context.category != nullptr ? context.category : "");
    if (type == QtFatalMsg) {
        // Qt's first words on the attempt name the display it could not reach.
        EndWithoutWindow(heldMessages->isEmpty() ? text.section(u'\n', 0, 0)
                                                 : heldMessages->first().text.trimmed());
    }
    if (category.startsWith("qt.qpa")) {
        heldMessages->append({type, category, text});
        return;
    }
    previousHandler(type, context, text);
}

}  // namespace

DisplayGuard::DisplayGuard() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        EndWithoutWindow(QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set"));
    }
    heldMessages = new QList<HeldMessage>;
    previousHandler = qInstallMessageHandler(HoldPlatformMessages);
}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& held : *heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        previousHandler(held.type, context, held.text);
    }
    delete heldMessages;
    heldMessages = nullptr;
}

}  // namespace quorvex
