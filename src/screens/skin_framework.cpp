#include "screens/skin_framework.h"

#include "data/core/failure.h"
#include "data/folder/path_case.h"

#include <QFile>
#include <QStringDecoder>

namespace quorvex {

namespace {

// Qt reports a sheet it cannot parse only as a warning while it styles a widget; the check
// listens for that warning while it styles a throwaway widget.
bool parseWarningSeen = false;
QtMessageHandler previousHandler = nullptr;

void ListenForParseWarning(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (message.startsWith(QStringLiteral("Could not parse"))) {
        parseWarningSeen = true;
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    }
}

Failure DamagedSkin(const QString& path, const QString& why) {
    return Failure(QStringLiteral("The skin file ") + path + QStringLiteral(" is damaged: ") + why);
}

}  // namespace

bool QtAcceptsStyleSheet(const QString& sheet) {
    parseWarningSeen = false;
    previousHandler = qInstallMessageHandler(ListenForParseWarning);
    {
        QWidget probe;
        probe.setStyleSheet(sheet);
        probe.ensurePolished();
    }
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;
    return !parseWarningSeen;
}

void SkinFramework::LoadSkin(const QString& path, const QString& /*iniFileName*/) {
    QFile file(ResolvePathIgnoringCase(path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw DamagedSkin(path, file.errorString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw DamagedSkin(path, file.errorString());
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError() || bytes.contains('\0')) {
        throw DamagedSkin(path, QStringLiteral("it is not UTF-8 text."));
    }
    if (!QtAcceptsStyleSheet(text)) {
        throw DamagedSkin(path, QStringLiteral("its style sheet cannot be parsed."));
    }
    sheet_ = std::move(text);
    loaded_ = true;
}

void SkinFramework::ApplyWindow(QWidget& window) const {
    if (!loaded_) {
        throw Failure(QStringLiteral("No skin is loaded."));
    }
    if ((applyOptions_ & kApplySheet) != 0) {
        window.setStyleSheet(sheet_);
    }
}

}  // namespace quorvex
