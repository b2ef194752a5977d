#include "data/core/failure.h"
#include "form1_fixture.h"
#include "screens/hand_cursor.h"

#include <QFile>

namespace quorvex::test {
namespace {

const QString kShippedCursor = QStringLiteral(QUORVEX_SOURCE_DIR "/resources/HAND-M.CUR");

TEST(HandCursor, ShippedCursorIsARealCursorWithItsHotspotAtTheFingertip) {
    const QCursor cursor = LoadCursorFile(kShippedCursor);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(cursor.hotSpot(), QPoint(10, 0));
    // The fingertip is drawn where the hotspot is: an opaque pixel.
    EXPECT_GT(qAlpha(cursor.pixmap().toImage().pixel(10, 0)), 0);
}

TEST(HandCursor, FilesThatAreNoCursorAreInvalidPictures) {
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("HAND-M.CUR"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    static const char kDamaged[] = "\0\0\2\0\1\0 garbage that is no image at all";
    file.write(kDamaged, sizeof kDamaged - 1);
    file.close();
    EXPECT_THROW(LoadCursorFile(damaged), Failure);
    EXPECT_THROW(LoadCursorFile(dir.filePath(QStringLiteral("missing.cur"))), Failure);
    // A PNG is a picture but not a cursor file.
    EXPECT_THROW(LoadCursorFile(QStringLiteral(QUORVEX_SOURCE_DIR "/resources/quorvex.png")),
                 Failure);
}

TEST_F(Form1Test, PointerStatesShowTheirCursors) {
    form->LoadMouseIcon(kShippedCursor);
    form->Screen().SetMousePointer(vbCustom);
    EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(form->cursor().hotSpot(), QPoint(10, 0));
    form->Screen().SetMousePointer(vbHourglass);
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
    form->Screen().SetMousePointer(vbDefault);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1Test, CustomPointerWithoutAPictureIsTheArrow) {
    form->Screen().SetMousePointer(vbCustom);
    EXPECT_EQ(form->Screen().MousePointer(), vbCustom);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace quorvex::test
