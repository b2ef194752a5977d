#include "form1_fixture.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>

namespace quorvex::test {
namespace {

struct Placement {
    const char* name;
    const char* container;
    const char* caption;           // nullptr for text boxes
    int left, top, width, height;  // twips
};

// The designed layout, in twips, relative to the container.
const Placement kLayout[] = {
    {"Frame1", "Form1", "Paradox Database", 120, 120, 7800, 1455},
    {"Label2", "Frame1", "Paradox Folder:", 240, 405, 1455, 255},
    {"Text1", "Frame1", nullptr, 1680, 360, 5175, 345},
    {"PushButton5", "Frame1", "...", 6945, 360, 600, 345},
    {"PushButton6", "Frame1", "Load Sample/Example Database", 240, 840, 3600, 405},
    {"PushButton3", "Frame1", "Test Connection", 3960, 840, 3600, 405},
    {"Frame2", "Form1", "Oracle Login", 120, 1680, 7800, 2415},
    {"Label7", "Frame2", "SID:", 240, 405, 1095, 255},
    {"Text2", "Frame2", nullptr, 1320, 360, 6255, 330},
    {"Label5", "Frame2", "Username:", 240, 885, 1095, 255},
    {"Text3", "Frame2", nullptr, 1320, 840, 6255, 330},
    {"Label9", "Frame2", "Password:", 240, 1365, 1095, 255},
    {"Text4", "Frame2", nullptr, 1320, 1320, 6255, 330},
    {"PushButton1", "Frame2", "Test Connection", 240, 1800, 3600, 405},
    {"PushButton4", "Frame2", "Help", 3960, 1800, 3600, 405},
    {"PushButton2", "Form1", "Next >", 120, 4230, 7800, 400},
};

int Pixels(int twips) { return qRound(twips / 15.0); }

QString CaptionOf(const QWidget& control) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) return frame->title();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) return button->text();
    return QString();
}

TEST_F(Form1Test, WindowIsFixedSizeWithoutMaximiseAndWhite) {
    EXPECT_EQ(form->size(), QSize(Pixels(8040), Pixels(4755)));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(form->autoFillBackground());
    for (const char* name : {"Frame1", "Frame2", "Label2", "Label5", "Label7", "Label9"}) {
        EXPECT_EQ(Control(name)->palette().color(QPalette::Window), QColor(Qt::white)) << name;
    }
}

// Without the skin a frame is a classic one: white inside, its caption standing on its top line
// (not above it, with a shaded panel below).
TEST_F(Form1Test, FramesAreWhiteInsideWithTheCaptionOnTheirTopLine) {
    for (const char* name : {"Frame1", "Frame2"}) {
        SCOPED_TRACE(name);
        QWidget* frame = Control(name);
        const QImage image = frame->grab().toImage();
        int line = 0;  // the top line, found at its right-hand end
        while (line < image.height() && image.pixelColor(image.width() - 4, line) == Qt::white) {
            ++line;
        }
        EXPECT_GT(line, 0);
        EXPECT_LT(line, QFontMetrics(frame->font()).height());
        EXPECT_EQ(image.pixelColor(8, image.height() - 8), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(image.width() - 8, image.height() / 2), QColor(Qt::white));
    }
}

TEST_F(Form1Test, EveryControlSitsWhereTheLayoutPutsIt) {
    for (const Placement& placement : kLayout) {
        QWidget* control = Control(placement.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), QString::fromLatin1(placement.container))
            << placement.name;
        EXPECT_EQ(control->geometry(), QRect(Pixels(placement.left), Pixels(placement.top),
                                             Pixels(placement.width), Pixels(placement.height)))
            << placement.name;
        if (placement.caption != nullptr) {
            EXPECT_EQ(CaptionOf(*control), QString::fromUtf8(placement.caption)) << placement.name;
        }
        EXPECT_TRUE(control->isEnabled());
    }
}

TEST_F(Form1Test, FontsAreArialInTheirSizesAndWeights) {
    EXPECT_EQ(form->font().family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(form->font().pointSizeF(), 9.0);
    EXPECT_FALSE(form->font().bold());
    // Arial is there as its metric twin on this platform.
    EXPECT_EQ(QFontInfo(form->font()).family(), QStringLiteral("Liberation Sans"));
    for (const Placement& placement : kLayout) {
        const QFont font = Control(placement.name)->font();
        const bool isButton = QByteArray(placement.name).startsWith("PushButton");
        EXPECT_EQ(font.family(), QStringLiteral("Arial")) << placement.name;
        EXPECT_TRUE(font.bold()) << placement.name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), isButton ? 11.25 : 9.0) << placement.name;
    }
}

TEST_F(Form1Test, TextBoxesStartEmptyAndThePasswordShowsStars) {
    for (const char* name : {"Text1", "Text2", "Text3", "Text4"}) {
        EXPECT_TRUE(Box(name)->text().isEmpty()) << name;
    }
    form->SetText4(QStringLiteral("s3;cr t"));
    EXPECT_EQ(Box("Text4")->displayText(), QStringLiteral("*******"));
    EXPECT_EQ(form->Text4(), QStringLiteral("s3;cr t"));
    EXPECT_EQ(Box("Text3")->echoMode(), QLineEdit::Normal);
}

TEST_F(Form1Test, TabOrderRunsThroughTheFieldsThenTheButtons) {
    const QStringList expected = {"Text1",       "Text4",       "Text3",       "Text2",
                                  "PushButton5", "PushButton3", "PushButton1", "PushButton4",
                                  "PushButton2", "PushButton6", "Text1"};
    ShowAndActivate();
    Box("Text1")->setFocus(Qt::OtherFocusReason);
    QStringList visited = {QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        PressKey(Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);
    // Frames and labels never take the focus.
    for (const char* name : {"Frame1", "Frame2", "Label2", "Label5", "Label7", "Label9"}) {
        EXPECT_EQ(Control(name)->focusPolicy(), Qt::NoFocus) << name;
    }
}

TEST_F(Form1Test, FocusStartsInTheFolderField) {
    ShowAndActivate();
    EXPECT_EQ(QApplication::focusWidget(), Box("Text1"));
}

}  // namespace
}  // namespace quorvex::test
