#include "shell/center_form.h"
#include "shell/connection_help.h"
#include "shell/hover_cursor.h"
#include "support/recording_ui.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

TEST(CenterForm, HalvesWhatTheScreenHasToSpareKeepingFractions) {
    const CenteredPosition position = CenterOnScreen(19200, 10800, 8160, 5235);
    EXPECT_DOUBLE_EQ(position.left, 5520);
    EXPECT_DOUBLE_EQ(position.top, 2782.5);
}

TEST(CenterForm, WindowLargerThanTheScreenGetsANegativePosition) {
    const CenteredPosition position = CenterOnScreen(800, 600, 1001, 700);
    EXPECT_DOUBLE_EQ(position.left, -100.5);
    EXPECT_DOUBLE_EQ(position.top, -50);
}

TEST(HoverRule, ButtonsShowTheHandAndSurfacesTheArrow) {
    RecordingPointer pointer;
    PointerOverButton(pointer);
    EXPECT_EQ(pointer.state, vbCustom);
    PointerOverSurface(pointer);
    EXPECT_EQ(pointer.state, vbDefault);
}

TEST(HoverRule, TheHourglassOfARunningCommandStays) {
    RecordingPointer pointer;
    pointer.SetMousePointer(vbHourglass);
    PointerOverButton(pointer);
    PointerOverSurface(pointer);
    EXPECT_EQ(pointer.state, vbHourglass);
    EXPECT_EQ(pointer.history, std::vector<int>{vbHourglass});
}

TEST(ConnectionHelp, ShowsBothTextsExactlyOneAfterTheOther) {
    ScriptedDialogs dialogs;
    ShowConnectionHelp(dialogs);
    const QString expectedFirst = QStringLiteral(
        "This software works with Oracle 9i or higher.\r\r"
        "The SID is used to identify a particular database. The SID is usually defined in the "
        "TNSNAMES.ORA file. The TNSNAMES.ORA file found in my Oracle 9i folder looks like:"
        "\r\n\r\n"
        "KORV =\r\n"
        " (DESCRIPTION =\r\n"
        "   (ADDRESS_LIST =\r\n"
        "     (ADDRESS = (PROTOCOL = TCP)(HOST = 192.0.2.10)(PORT = 1521))\r\n"
        "   )\r\n"
        "   (CONNECT_DATA =\r\n"
        "     (SID = KORV)\r\n"
        "   )\r\n"
        " )"
        "\r\n\r\n"
        "Therefore, my SID would be KORV");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, expectedFirst);
    EXPECT_EQ(
        dialogs.boxes[1].text,
        QStringLiteral("This software does not support the CLOB and NLOB data type in Oracle."));
    for (const auto& box : dialogs.boxes) {
        EXPECT_EQ(box.buttons, vbOKOnly);
        EXPECT_EQ(box.title, QString());
    }
}

}  // namespace
}  // namespace quorvex::test
