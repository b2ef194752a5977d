#include "shell/connection_settings.h"

#include "shell/settings_store.h"

namespace quorvex {

QString GetConnectionSetting(const QString& key) {
    return GetSetting(kSettingsApp, kSettingsSection, key);
}

void SaveConnectionSetting(const QString& key, const QString& value) {
    // The result is deliberately unused: a field edit has no report of its own.
    (void)SaveSetting(kSettingsApp, kSettingsSection, key, value);
}

}  // namespace quorvex
