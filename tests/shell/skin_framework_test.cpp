#include "screens/skin_framework.h"
#include "data/failure.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace quorvex::test {
namespace {

QString WriteSkin(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("o.cjs"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

TEST(SkinFramework, ShippedSkinLoadsAndDressesAWindow) {
    SkinFramework skin;
    skin.LoadSkin(QStringLiteral(QUORVEX_SOURCE_DIR "/resources/o.cjs"), QString());
    skin.SetApplyOptions(skin.ApplyOptions() | SkinFramework::kApplySheet);
    QWidget window;
    QPushButton button(QStringLiteral("Next >"), &window);
    skin.ApplyWindow(window);
    EXPECT_FALSE(window.styleSheet().isEmpty());
    EXPECT_EQ(window.styleSheet(), skin.StyleSheet());
}

TEST(SkinFramework, WithoutItsOptionBitTheSheetIsNotApplied) {
    QTemporaryDir dir;
    SkinFramework skin;
    skin.LoadSkin(WriteSkin(dir, "QPushButton { color: #123456; }"), QString());
    QWidget window;
    skin.ApplyWindow(window);
    EXPECT_TRUE(window.styleSheet().isEmpty());
}

TEST(SkinFramework, MissingFileIsAFailure) {
    SkinFramework skin;
    EXPECT_THROW(skin.LoadSkin(QStringLiteral("/no/such/x/o.cjs"), QString()), Failure);
}

TEST(SkinFramework, FileThatIsNotUtf8TextIsDamaged) {
    QTemporaryDir dir;
    SkinFramework skin;
    EXPECT_THROW(
        skin.LoadSkin(WriteSkin(dir, QByteArray("QWidget { color: red; }\xff\xfe\x80")), QString()),
        Failure);
    EXPECT_THROW(skin.LoadSkin(WriteSkin(dir, QByteArray("QWidget {}\0\0\0", 13)), QString()),
                 Failure);
}

TEST(SkinFramework, SheetQtCannotParseIsDamagedAndSaysWhichFile) {
    QTemporaryDir dir;
    const QString path = WriteSkin(dir, "QPushButton { color: red");
    SkinFramework skin;
    try {
        skin.LoadSkin(path, QString());
        FAIL() << "a broken sheet was accepted";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains(path));
    }
    // A failed load leaves nothing to apply.
    QWidget window;
    EXPECT_THROW(skin.ApplyWindow(window), Failure);
}

TEST(SkinFramework, ParserCheckAgreesWithQt) {
    EXPECT_TRUE(QtAcceptsStyleSheet(QStringLiteral("QLabel { color: blue; }")));
    EXPECT_TRUE(QtAcceptsStyleSheet(QString()));
    EXPECT_FALSE(QtAcceptsStyleSheet(QStringLiteral("}}}{{")));
    EXPECT_FALSE(
        QtAcceptsStyleSheet(QStringLiteral("QLabel { background: qlineargradient(x1:0 }")));
}

}  // namespace
}  // namespace quorvex::test
