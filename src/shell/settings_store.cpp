#include "shell/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <unistd.h>

namespace quorvex {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Creates the settings file empty with mode 0600 when it does not exist yet, so the first value
// written never sits in a file that others can read. Later writes replace the file through a
// temporary copy that keeps the permissions of the file it replaces.
void CreatePrivateFile(const QString& path) {
    if (QFileInfo::exists(path)) {
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
    }
}

}  // namespace

QString SettingsFilePath(const QString& appName) {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, appName).fileName();
}

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, appName);
    settings.beginGroup(section);
    const QVariant stored = settings.value(key);
    if (!stored.isValid()) {
        return defaultValue;
    }
    return stored.toString();
}

bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, appName);
    const QString path = settings.fileName();
    CreatePrivateFile(path);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    const bool written = settings.status() == QSettings::NoError;
    if (QFileInfo::exists(path)) {
        QFile::setPermissions(path, kOwnerOnly);
    }
    return written;
}

}  // namespace quorvex
