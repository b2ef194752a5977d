#pragma once

#include <QObject>

namespace quorvex {

// One command at a time. A command (a button's command, or the start-up) lets pending window
// events run now and then while it works, so that the windows repaint, the progress bar moves,
// the hourglass shows and a window can be closed, which ends the program. The clicks, keys and
// wheel turns that arrive meanwhile are dropped, never kept for later: let in, they would start
// a second command inside the first, or change the lists and the folder the first one works on.
// Only the box in front that the command itself opened (a question, a report, the rename input
// box, the folder picker) and its pop-ups take input. A close request is no input and gets
// through.
//
// This filter on the application decides it for every window and control; the screens only say
// when a command runs (RunningCommand). It also makes a double-click on a push button one click:
// the second press is dropped, however quickly the first click's command ended.
class CommandInputRule : public QObject {
  public:
    // Puts the rule on the application; later calls do nothing. Every screen calls it.
    static void Install();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
};

// A command running, from its construction to its destruction; nested ones count as one. When
// the outermost ends, the input that reached the program during its last stretch of work (which
// no run of pending events has seen yet) is taken in and dropped too, before the command's end
// lets input through again, and the keyboard focus goes back to where it was when the command
// began.
class RunningCommand {
  public:
    RunningCommand();
    ~RunningCommand();
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;

    static bool Any();
};

}  // namespace quorvex
