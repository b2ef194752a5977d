#include "form1_fixture.h"
#include "shell/connection_settings.h"
#include "shell/settings_store.h"

#include <QLabel>
#include <QMouseEvent>

namespace quorvex::test {
namespace {

TEST_F(Form1Test, EveryKeystrokeIsSavedAtOnce) {
    ShowAndActivate();
    Box("Text2")->setFocus(Qt::TabFocusReason);
    QStringList stored;
    for (const QChar character : QStringLiteral("abc")) {
        Type(QString(character));
        stored << GetConnectionSetting(kServerKey);
    }
    EXPECT_EQ(stored, (QStringList{"a", "ab", "abc"}));
    PressKey(Qt::Key_Backspace);
    EXPECT_EQ(GetConnectionSetting(kServerKey), QStringLiteral("ab"));
}

TEST_F(Form1Test, EachFieldSavesUnderItsOwnKeyAndThePasswordAsTyped) {
    ShowAndActivate();
    const struct {
        const char* box;
        QString key;
        QString typed;
    } fields[] = {{"Text1", kParadoxFolderKey, QStringLiteral("/data/px db/")},
                  {"Text2", kServerKey, QStringLiteral("ORCL;x}")},
                  {"Text3", kUserKey, QString::fromUtf8("Jürgen")},
                  {"Text4", kPasswordKey, QStringLiteral(" ti;ger} ")}};
    for (const auto& field : fields) {
        Box(field.box)->setFocus(Qt::TabFocusReason);
        Type(field.typed);
        EXPECT_EQ(GetConnectionSetting(field.key), field.typed) << field.box;
    }
    EXPECT_EQ(Box("Text4")->displayText(), QString(fields[3].typed.size(), QLatin1Char('*')));
}

TEST_F(Form1Test, ClearingAFieldStoresAnEmptyValue) {
    form->SetText1(QStringLiteral("/old"));
    form->SetText1(QString());
    EXPECT_EQ(GetSetting(kSettingsApp, kSettingsSection, kParadoxFolderKey, QStringLiteral("x")),
              QString());
}

TEST_F(Form1Test, TabbingIntoAFieldSelectsItsWholeTextSoTypingReplacesIt) {
    form->SetText3(QStringLiteral("scott"));
    form->SetText2(QStringLiteral("ORCL"));
    ShowAndActivate();
    Box("Text4")->setFocus(Qt::OtherFocusReason);
    PressKey(Qt::Key_Tab);  // to Text3
    ASSERT_EQ(QApplication::focusWidget(), Box("Text3"));
    EXPECT_EQ(Box("Text3")->selectedText(), QStringLiteral("scott"));
    Type(QStringLiteral("adams"));
    EXPECT_EQ(form->Text3(), QStringLiteral("adams"));
    EXPECT_EQ(GetConnectionSetting(kUserKey), QStringLiteral("adams"));

    // Any way of getting the focus selects the text, also one the program gives.
    Box("Text2")->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(Box("Text2")->selectedText(), QStringLiteral("ORCL"));
}

void MoveMouseOver(QWidget* widget) {
    const QPointF local(2, 2);
    QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST_F(Form1Test, HoverShowsTheHandOverButtonsAndTheArrowOverSurfaces) {
    for (const char* name : {"PushButton1", "PushButton2", "PushButton3", "PushButton4",
                             "PushButton5", "PushButton6"}) {
        form->Screen().SetMousePointer(vbDefault);
        MoveMouseOver(Control(name));
        EXPECT_EQ(form->Screen().MousePointer(), vbCustom) << name;
    }
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Frame1", "Frame2"}) {
        form->Screen().SetMousePointer(vbCustom);
        MoveMouseOver(Control(name));
        EXPECT_EQ(form->Screen().MousePointer(), vbDefault) << name;
    }
    form->Screen().SetMousePointer(vbCustom);
    MoveMouseOver(form.get());
    EXPECT_EQ(form->Screen().MousePointer(), vbDefault);
}

TEST_F(Form1Test, LabelsLeaveThePointerAsItWas) {
    for (const char* name : {"Label2", "Label5", "Label7", "Label9"}) {
        form->Screen().SetMousePointer(vbCustom);
        MoveMouseOver(Control(name));
        EXPECT_EQ(form->Screen().MousePointer(), vbCustom) << name;
    }
}

TEST_F(Form1Test, HourglassStaysWhateverThePointerPassesOver) {
    form->Screen().SetMousePointer(vbHourglass);
    for (const char* name : {"PushButton1", "Text1", "Frame2", "Label2"}) {
        MoveMouseOver(Control(name));
        EXPECT_EQ(form->Screen().MousePointer(), vbHourglass) << name;
    }
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
}

}  // namespace
}  // namespace quorvex::test
