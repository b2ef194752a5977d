#include "shell/error_report.h"
#include "data/core/failure.h"
#include "shell/command_steps.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace quorvex::test {
namespace {

TEST(ApplicationErrorReport, TextHasEveryPieceInOrder) {
    EXPECT_EQ(ApplicationErrorText(QStringLiteral("Form1.Form_Load"), 128,
                                   QStringLiteral("Disk not ready")),
              QStringLiteral("Disk not ready\r\nin Quorvex2/19/2015.Form1.Form_Load at line 128"
                             "\r\rPlease email screenshot of this message to ") +
                  kSupportAddress);
}

TEST(ApplicationErrorReport, EmptyAndMultiLineDescriptionsAreShownAsTheyAre) {
    const QString empty = ApplicationErrorText(QStringLiteral("L.P"), 100, QString());
    EXPECT_TRUE(empty.startsWith(QStringLiteral("\r\nin Quorvex2/19/2015.L.P at line 100\r\r")));
    const QString twoLines =
        ApplicationErrorText(QStringLiteral("L.P"), 7, QStringLiteral("first\nsecond"));
    EXPECT_TRUE(twoLines.startsWith(QStringLiteral("first\nsecond\r\nin Quorvex2/19/2015.L.P ")));
}

TEST(ApplicationErrorReport, BoxIsAWarningTitledApplicationError) {
    ScriptedDialogs dialogs;
    ReportApplicationError(dialogs, QStringLiteral("Form1.PushButton3_Click"), 104,
                           QStringLiteral("bad"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].buttons, vbExclamation);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Application Error"));
    EXPECT_TRUE(
        dialogs.boxes[0].text.contains(QStringLiteral("Form1.PushButton3_Click at line 104")));
}

// The resume rule: a failing step is reported under its own line and the next step runs; a test
// that fails lets the steps it guards run; every failure gets its own box, in order.
TEST(ResumeRule, FailingStepIsReportedAndTheNextRuns) {
    ScriptedDialogs dialogs;
    CommandSteps steps(dialogs, QStringLiteral("Form1.Form_Load"));
    QStringList ran;
    EXPECT_FALSE(steps.Step(100, [&] { throw Failure(QStringLiteral("skin damaged")); }));
    EXPECT_TRUE(steps.Step(102, [&] { ran << QStringLiteral("102"); }));
    EXPECT_EQ(ran, QStringList{QStringLiteral("102")});
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_EQ(dialogs.Errors()[0].text, ApplicationErrorText(QStringLiteral("Form1.Form_Load"), 100,
                                                             QStringLiteral("skin damaged")));
}

TEST(ResumeRule, FailingTestRunsTheStepsItGuards) {
    ScriptedDialogs dialogs;
    CommandSteps steps(dialogs, QStringLiteral("Form1.PushButton2_Click"));
    bool guardedRan = false;
    if (steps.Test(102, []() -> bool { throw Failure(QStringLiteral("search refused")); })) {
        guardedRan = true;
    }
    EXPECT_TRUE(guardedRan);
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_TRUE(dialogs.Errors()[0].text.contains(QStringLiteral("at line 102")));
}

TEST(ResumeRule, TestAnsweringFalseSkipsTheGuardedStepsWithoutABox) {
    ScriptedDialogs dialogs;
    CommandSteps steps(dialogs, QStringLiteral("X.Y"));
    EXPECT_FALSE(steps.Test(136, [] { return false; }));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(ResumeRule, TwoFailuresGiveTwoBoxesInStepOrder) {
    ScriptedDialogs dialogs;
    CommandSteps steps(dialogs, QStringLiteral("Form1.Form_Load"));
    steps.Step(100, [] { throw Failure(QStringLiteral("first")); });
    steps.Step(102, [] { throw std::runtime_error("second"); });
    steps.Step(104, [] {});
    const auto errors = dialogs.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(errors[0].text.startsWith(QStringLiteral("first\r\n")));
    EXPECT_TRUE(errors[0].text.contains(QStringLiteral("at line 100")));
    EXPECT_TRUE(errors[1].text.startsWith(QStringLiteral("second\r\n")));
    EXPECT_TRUE(errors[1].text.contains(QStringLiteral("at line 102")));
}

// A lost connection is reported like any failure, and marks the command as ending; a refused
// statement does not. A front end's stop request ends it too, without a box.
TEST(ResumeRule, ALostConnectionOrAStopRequestMarksTheCommandAsEnding) {
    ScriptedDialogs dialogs;
    StopRequest stop;
    CommandSteps steps(dialogs, QStringLiteral("Form2.PushButton4_Click"), &stop);
    steps.Step(244, [] { throw Failure(QStringLiteral("value too large")); });
    steps.Quietly([] { throw Failure(QStringLiteral("syntax error")); });
    EXPECT_FALSE(steps.Ending());
    stop.Request();
    EXPECT_TRUE(steps.Ending());
    EXPECT_EQ(dialogs.Errors().size(), 1u);

    CommandSteps lost(dialogs, QStringLiteral("Form2.PushButton4_Click"));
    lost.Step(244, [] { throw Failure::ConnectionLost(QStringLiteral("connection lost")); });
    EXPECT_TRUE(lost.Ending());
    ASSERT_EQ(dialogs.Errors().size(), 2u);
    EXPECT_TRUE(dialogs.Errors()[1].text.startsWith(QStringLiteral("connection lost\r\n")));
}

// The lost connection is the command's one report: whatever fails after it (the next row
// damaged, any other error, a closing step, the dead connection again) shows no box and never
// lets the command go on, while the closing steps still run.
TEST(ResumeRule, AfterALostConnectionNoFailureOfAnyKindIsReportedOrEndsTheEnding) {
    ScriptedDialogs dialogs;
    CommandSteps steps(dialogs, QStringLiteral("Form2.PushButton4_Click"));
    steps.Step(244, [] { throw Failure::ConnectionLost(QStringLiteral("connection lost")); });
    EXPECT_FALSE(steps.Step(246, [] { throw Failure(QStringLiteral("row 3 is damaged")); }));
    EXPECT_TRUE(steps.Ending());
    EXPECT_FALSE(steps.Step(250, [] { throw std::runtime_error("no progress bar"); }));
    EXPECT_TRUE(steps.Test(126, []() -> bool { throw 42; }));
    EXPECT_FALSE(steps.Step(266, [] { throw Failure::ConnectionLost(QStringLiteral("again")); }));
    bool closed = false;
    EXPECT_TRUE(steps.Step(268, [&] { closed = true; }));
    EXPECT_TRUE(closed && steps.Ending());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.startsWith(QStringLiteral("connection lost\r\n")));
}

}  // namespace
}  // namespace quorvex::test
