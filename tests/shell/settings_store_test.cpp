#include "shell/settings_store.h"
#include "shell/connection_settings.h"
#include "support/isolated_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace quorvex::test {
namespace {

mode_t FileMode(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return 0;
    }
    return info.st_mode & 0777;
}

TEST(SettingsStore, AbsentKeyReadsAsTheDefault) {
    IsolatedSettings isolated;
    EXPECT_EQ(GetConnectionSetting(kServerKey), QString());
    EXPECT_EQ(GetSetting(kSettingsApp, kSettingsSection, QStringLiteral("Nope"),
                         QStringLiteral("fallback")),
              QStringLiteral("fallback"));
    // Reading never creates the store.
    EXPECT_FALSE(QFileInfo::exists(isolated.SettingsFile()));
}

TEST(SettingsStore, LivesInTheApplicationsFileUnderItsSection) {
    IsolatedSettings isolated;
    SaveConnectionSetting(kServerKey, QStringLiteral("ORCL"));
    EXPECT_EQ(isolated.SettingsFile(), isolated.ConfigFolder() + QStringLiteral("/Veltrane.conf"));
    QSettings raw(isolated.SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Quorvex/Server")).toString(), QStringLiteral("ORCL"));
}

TEST(SettingsStore, EveryWriteOverwritesAndIsOnDiskAtOnce) {
    IsolatedSettings isolated;
    for (const char* typed : {"a", "ab", "abc"}) {
        SaveConnectionSetting(kServerKey, QString::fromUtf8(typed));
        // Another reader of the file (a later run) sees each value as soon as it is written.
        QSettings raw(isolated.SettingsFile(), QSettings::IniFormat);
        EXPECT_EQ(raw.value(QStringLiteral("Quorvex/Server")).toString(), QString::fromUtf8(typed));
    }
    EXPECT_EQ(GetConnectionSetting(kServerKey), QStringLiteral("abc"));
}

TEST(SettingsStore, EmptyValueIsStoredAndTheKeyStays) {
    IsolatedSettings isolated;
    SaveConnectionSetting(kParadoxFolderKey, QStringLiteral("/data/px"));
    SaveConnectionSetting(kParadoxFolderKey, QString());
    EXPECT_EQ(GetSetting(kSettingsApp, kSettingsSection, kParadoxFolderKey, QStringLiteral("x")),
              QString());
}

TEST(SettingsStore, AnyTextComesBackUnchanged) {
    IsolatedSettings isolated;
    const QString odd[] = {
        QStringLiteral("pa ss;word}{=\"'\\,"),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("@Variant(\\0\\0) and @@"),
        QStringLiteral("line\nbreak\r\nand tab\t"),
        QString::fromUtf8("Grüße 日本語 ÆØÅ 🙂"),
        QString(10000, QLatin1Char('x')) + QStringLiteral(";}"),
        QStringLiteral("a, b, c"),
        QStringLiteral("true"),
    };
    for (const QString& value : odd) {
        SaveConnectionSetting(kPasswordKey, value);
        EXPECT_EQ(GetConnectionSetting(kPasswordKey), value);
    }
}

TEST(SettingsStore, FileIsReadableByItsOwnerOnly) {
    IsolatedSettings isolated;
    SaveConnectionSetting(kPasswordKey, QStringLiteral("tiger"));
    EXPECT_EQ(FileMode(isolated.SettingsFile()), 0600u);
    // A file that someone opened up is closed again by the next write.
    ASSERT_EQ(::chmod(QFile::encodeName(isolated.SettingsFile()).constData(), 0644), 0);
    SaveConnectionSetting(kPasswordKey, QStringLiteral("lion"));
    EXPECT_EQ(FileMode(isolated.SettingsFile()), 0600u);
    EXPECT_EQ(GetConnectionSetting(kPasswordKey), QStringLiteral("lion"));
}

TEST(SettingsStore, UnwritableFolderBreaksNothing) {
    // A regular file where the settings folder should be: no one, not even root, can create the
    // store there.
    QTemporaryDir scratch;
    const QString blocker = scratch.filePath(QStringLiteral("not-a-folder"));
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       blocker + QStringLiteral("/config"));
    EXPECT_FALSE(SaveSetting(kSettingsApp, kSettingsSection, kUserKey, QStringLiteral("scott")));
    SaveConnectionSetting(kUserKey, QStringLiteral("scott"));  // quietly
    EXPECT_TRUE(QFileInfo(blocker).isFile());
    {
        IsolatedSettings isolated;  // and the store works again elsewhere
        SaveConnectionSetting(kUserKey, QStringLiteral("scott"));
        EXPECT_EQ(GetConnectionSetting(kUserKey), QStringLiteral("scott"));
    }
}

TEST(SettingsStore, ReadOnlySettingsFileIsNotReplacedBehindItsOwnersBack) {
    IsolatedSettings isolated;
    SaveConnectionSetting(kUserKey, QStringLiteral("scott"));
    // An unwritable existing file (made immutable for root too by replacing it with a folder).
    QFile::remove(isolated.SettingsFile());
    ASSERT_TRUE(QDir().mkpath(isolated.SettingsFile()));
    EXPECT_FALSE(SaveSetting(kSettingsApp, kSettingsSection, kUserKey, QStringLiteral("x")));
    EXPECT_TRUE(QFileInfo(isolated.SettingsFile()).isDir());
}

}  // namespace
}  // namespace quorvex::test
