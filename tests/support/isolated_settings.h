#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quorvex::test {

// Points the per-user settings store at a fresh empty folder for as long as it lives, so a test
// neither sees nor changes the settings of the user running it (or of another test).
class IsolatedSettings {
  public:
    IsolatedSettings();
    ~IsolatedSettings();
    IsolatedSettings(const IsolatedSettings&) = delete;
    IsolatedSettings& operator=(const IsolatedSettings&) = delete;

    // The folder that stands for ~/.config.
    QString ConfigFolder() const { return folder_.path(); }
    // The settings file of the program's values.
    QString SettingsFile() const;

  private:
    QTemporaryDir folder_;
};

}  // namespace quorvex::test
