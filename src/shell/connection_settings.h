#pragma once

#include <QString>

namespace quorvex {

// Where the connection fields are kept between runs: application "Veltrane", section
// "Quorvex", one key per field.
inline const QString kSettingsApp = QStringLiteral("Veltrane");
inline const QString kSettingsSection = QStringLiteral("Quorvex");
inline const QString kParadoxFolderKey = QStringLiteral("ParadoxFolder");
inline const QString kServerKey = QStringLiteral("Server");
inline const QString kUserKey = QStringLiteral("User");
inline const QString kPasswordKey = QStringLiteral("Password");

// Reads one connection key; "" when it is not stored.
QString GetConnectionSetting(const QString& key);

// Writes one connection key at once. A failed write reaches no one: the fields on the screen
// stay the working copy for this run.
void SaveConnectionSetting(const QString& key, const QString& value);

}  // namespace quorvex
