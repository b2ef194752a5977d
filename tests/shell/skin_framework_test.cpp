#include "screens/skin_framework.h"
#include "data/core/failure.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QScrollBar>
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

// The handle, the part the mouse takes, is the darker piece on a lighter groove.
TEST(SkinFramework, ShippedSkinDrawsTheScrollBarHandleDarkerThanItsGroove) {
    SkinFramework skin;
    skin.LoadSkin(QStringLiteral(QUORVEX_SOURCE_DIR "/resources/o.cjs"), QString());
    skin.SetApplyOptions(skin.ApplyOptions() | SkinFramework::kApplySheet);
    QWidget window;
    QScrollBar bar(Qt::Vertical, &window);
    bar.setRange(0, 100);
    bar.setPageStep(10);
    bar.setGeometry(0, 0, 16, 200);
    skin.ApplyWindow(window);
    const QImage image = bar.grab().toImage();
    const int middle = image.width() / 2;
    EXPECT_LT(image.pixelColor(middle, 12).lightness(),
              image.pixelColor(middle, image.height() - 12).lightness());
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
