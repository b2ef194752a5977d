#include "program_fixture.h"

#include "shell/connection_settings.h"
#include "shell/settings_store.h"
#include "support/immutable_flag.h"
#include "support/test_server.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

// Real key presses into whichever widget has the focus.
void Type(QWidget& into, const QString& text) {
    into.setFocus(Qt::TabFocusReason);
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(&into, &press);
        QApplication::sendEvent(&into, &release);
    }
}

QLineEdit& Field(QWidget& form, const char* name) {
    auto* box = form.findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(box, nullptr) << name;
    return *box;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A folder that refuses new and removed entries for as long as it lives: immutable for root
// (for whom permission bits stop nothing), without write permission for everyone else.
class LockedFolder {
  public:
    explicit LockedFolder(const QString& path) : path_(QFile::encodeName(path)) {
        immutable_ = SetImmutable(true);
        if (!immutable_) {
            chmodded_ = ::chmod(path_.constData(), 0555) == 0;
        }
        const QByteArray probe = path_ + "/probe";
        const int fd = ::open(probe.constData(), O_CREAT | O_WRONLY, 0600);
        locked_ = fd < 0;
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.constData());
        }
    }
    ~LockedFolder() {
        if (immutable_) {
            SetImmutable(false);
        }
        if (chmodded_) {
            ::chmod(path_.constData(), 0700);
        }
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    bool Locked() const { return locked_; }

  private:
    bool SetImmutable(bool on) const { return SetImmutableFlag(QFile::decodeName(path_), on); }

    QByteArray path_;
    bool immutable_ = false;
    bool chmodded_ = false;
    bool locked_ = false;
};

class UnwritableSettings : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteNumberedTable(QStringLiteral("CUSTOMER.DB"), 3);
        DropAllTables();
    }
    void PointSettingsAt(const QString& folder) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    }
};

// No settings folder can be made at all (a file stands where it would go): the program starts
// on empty fields, takes what is typed, and works with it for the whole run.
TEST_F(UnwritableSettings, WithNoFolderPossibleTheTypedLoginStillWorks) {
    QTemporaryDir scratch;
    const QString blocker = scratch.filePath(QStringLiteral("config"));
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    PointSettingsAt(blocker + QStringLiteral("/deeper"));

    form1->Start();
    EXPECT_TRUE(form1->isVisible());
    EXPECT_TRUE(Field(*form1, "Text1").text().isEmpty());

    Type(Field(*form1, "Text1"), tables.path());
    Type(Field(*form1, "Text2"), TestServerSid());
    Type(Field(*form1, "Text3"), QStringLiteral("scott"));
    Type(Field(*form1, "Text4"), QStringLiteral("tiger"));
    EXPECT_EQ(form1->Text1(), tables.path());
    EXPECT_EQ(form1->Text4(), QStringLiteral("tiger"));

    Form2* form2 = Next();
    ASSERT_NE(form2, nullptr) << dialogs.Texts().join(u'\n').toStdString();
    EXPECT_EQ(Entries(form2->ParadoxList()), QStringList{"CUSTOMER"});
    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join(u'\n').toStdString();
    EXPECT_TRUE(QFileInfo(blocker).isFile()) << "the blocking file was replaced";
}

// The settings folder exists with last run's values but can no longer be written: they come
// back at start, edits are used for the run, and the saved file is left exactly as it was.
TEST_F(UnwritableSettings, ALockedFolderGivesBackLastRunsValuesAndKeepsTheFileWhole) {
    QTemporaryDir config;
    PointSettingsAt(config.path());
    // Last run's values, saved by the program's own store.
    SaveConnectionSetting(kParadoxFolderKey, tables.path());
    SaveConnectionSetting(kServerKey, TestServerSid());
    SaveConnectionSetting(kUserKey, QStringLiteral("scott"));
    SaveConnectionSetting(kPasswordKey, QStringLiteral("wrong"));
    const QString file = SettingsFilePath(kSettingsApp);
    ASSERT_TRUE(file.startsWith(config.path()));
    const QByteArray before = Contents(file);
    ASSERT_FALSE(before.isEmpty());

    LockedFolder locked(config.path());
    if (!locked.Locked()) {
        GTEST_SKIP() << "this system lets the folder be changed whatever its flags";
    }
    // The file itself is left writable: only the folder is locked, and a store that writes
    // through a temporary file and a rename must not get around that by truncating in place.
    form1->Start();  // the saved password fails: the connection screen stays, quietly
    EXPECT_TRUE(form1->isVisible());
    EXPECT_EQ(form1->Text1(), tables.path());
    EXPECT_EQ(form1->Text4(), QStringLiteral("wrong"));

    QLineEdit& password = Field(*form1, "Text4");
    password.selectAll();
    Type(password, QStringLiteral("tiger"));
    EXPECT_EQ(form1->Text4(), QStringLiteral("tiger"));

    Form2* form2 = Next();
    ASSERT_NE(form2, nullptr) << dialogs.Texts().join(u'\n').toStdString();
    EXPECT_EQ(Entries(form2->ParadoxList()), QStringList{"CUSTOMER"});
    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.Texts().join(u'\n').toStdString();
    EXPECT_EQ(Contents(file), before);
}

}  // namespace
}  // namespace quorvex::test
