#include "form2_fixture.h"
#include "screens/vendor_controls.h"
#include "screens/window_services.h"

#include <QFontInfo>
#include <QGroupBox>

namespace quorvex::test {
namespace {

struct Expected {
    const char* name;
    const char* container;
    const char* caption;
    int left, top, width, height;
};

// The layout in twips, as designed.
const Expected kLayout[] = {
    {"Frame1", "Form2", "Oracle Tables", 120, 120, 3840, 4215},
    {"List1", "Frame1", nullptr, 240, 360, 3330, 1635},
    {"Frame2", "Form2", "Paradox Tables", 4080, 120, 3840, 4215},
    {"List2", "Frame2", nullptr, 240, 360, 3330, 1635},
    {"PushButton10", "Frame1", "Select All", 240, 2100, 1600, 400},
    {"PushButton11", "Frame1", "Deselect All", 1960, 2100, 1600, 400},
    {"PushButton3", "Frame1", "Send Table/s To Paradox", 240, 2600, 3330, 400},
    {"PushButton1", "Frame1", "Delete Table/s", 240, 3100, 3330, 400},
    {"PushButton6", "Frame1", "Rename Table", 240, 3600, 3330, 400},
    {"PushButton8", "Frame2", "Select All", 240, 2100, 1600, 405},
    {"PushButton9", "Frame2", "Deselect All", 1960, 2100, 1600, 405},
    {"PushButton4", "Frame2", "Send Table/s To Oracle", 240, 2600, 3330, 405},
    {"PushButton5", "Frame2", "Delete Table/s", 240, 3100, 3330, 405},
    {"PushButton7", "Frame2", "Rename Table", 240, 3600, 3330, 405},
    {"ProgressBar1", "Form2", nullptr, 120, 4460, 7800, 405},
    {"PushButton2", "Form2", "< Back", 120, 4980, 3840, 405},
    {"PushButton12", "Form2", "Help", 4080, 4980, 3840, 405},
};

using Form2Layout = Form2Test;

TEST_F(Form2Layout, EveryControlSitsWhereDesignedWithItsCaption) {
    for (const Expected& expected : kLayout) {
        SCOPED_TRACE(expected.name);
        QWidget& control = Control(expected.name);
        EXPECT_EQ(control.parentWidget()->objectName(), QString::fromLatin1(expected.container));
        EXPECT_EQ(control.geometry(),
                  QRect(TwipsToPixels(expected.left), TwipsToPixels(expected.top),
                        TwipsToPixels(expected.width), TwipsToPixels(expected.height)));
        if (expected.caption == nullptr) {
            continue;
        }
        const QString caption = QString::fromLatin1(expected.caption);
        if (auto* button = qobject_cast<QPushButton*>(&control)) {
            EXPECT_EQ(button->text(), caption);
            EXPECT_NE(dynamic_cast<VendorPushButton*>(button), nullptr);
        } else {
            EXPECT_EQ(qobject_cast<QGroupBox*>(&control)->title(), caption);
        }
    }
    EXPECT_NE(qobject_cast<VendorProgressBar*>(&Control("ProgressBar1")), nullptr);
}

TEST_F(Form2Layout, TheWindowHasItsDesignSizeAndCannotBeMaximisedOrResized) {
    EXPECT_EQ(form->size(), QSize(TwipsToPixels(8040), TwipsToPixels(5520)));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quorvex"));
}

TEST_F(Form2Layout, FramesAndListsUseArialNineBoldButtonsArialElevenAndAQuarterBold) {
    for (const char* name : {"Frame1", "Frame2", "List1", "List2"}) {
        SCOPED_TRACE(name);
        const QFont font = Control(name).font();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.0);
        EXPECT_TRUE(font.bold());
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    }
    for (const Expected& expected : kLayout) {
        if (auto* button = qobject_cast<QPushButton*>(&Control(expected.name))) {
            SCOPED_TRACE(expected.name);
            EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 11.25);
            EXPECT_TRUE(button->font().bold());
            EXPECT_EQ(QFontInfo(button->font()).family(), QStringLiteral("Liberation Sans"));
        }
    }
}

TEST_F(Form2Layout, TabGoesThroughTheControlsInDesignOrder) {
    QStringList order;
    QWidget* widget = &List1();
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            order.append(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != &List1());
    EXPECT_EQ(order, (QStringList{"List1", "List2", "PushButton10", "PushButton11", "PushButton3",
                                  "PushButton1", "PushButton6", "PushButton8", "PushButton9",
                                  "PushButton4", "PushButton5", "PushButton7", "PushButton2",
                                  "PushButton12"}));
}

TEST_F(Form2Layout, ListsAllowExtendedSelection) {
    EXPECT_EQ(List1().selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(List2().selectionMode(), QAbstractItemView::ExtendedSelection);
}

}  // namespace
}  // namespace quorvex::test
