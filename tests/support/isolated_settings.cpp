#include "support/isolated_settings.h"

#include "shell/connection_settings.h"
#include "shell/settings_store.h"

#include <QSettings>
#include <QStandardPaths>

namespace quorvex::test {

IsolatedSettings::IsolatedSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
}

IsolatedSettings::~IsolatedSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QString IsolatedSettings::SettingsFile() const { return SettingsFilePath(kSettingsApp); }

}  // namespace quorvex::test
