#pragma once

#include <QString>

namespace quorvex {

// The per-user settings store: text values addressed by an application name, a section and a
// key. Here the application name names the settings file (~/.config/<name>.conf) and the section
// is a group in it.

// The stored text, or defaultValue when the key is not stored (or the store cannot be read).
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());

// Stores the text at once and flushes it to disk, since the program may end at any moment. The
// file holds a password in plain text, so it is kept readable by its owner only. Returns false
// when the value could not be written; the caller decides whether anyone hears of it.
bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);

// The file the values of appName live in.
QString SettingsFilePath(const QString& appName);

}  // namespace quorvex
