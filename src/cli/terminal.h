#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvex {

// The command line's terminal: messages and the progress line go to standard error, answers
// come from standard input. A line shown "in place" (the progress line) is cleared before any
// message, so the two never run into each other.
class Terminal {
  public:
    // Whether answers can be asked for: standard input is a terminal.
    static bool CanAsk();
    // Whether standard error is a terminal, where a line can be redrawn in place.
    static bool ShowsLinesInPlace();

    // A message on standard error, on lines of its own. Carriage returns, alone or before a line
    // feed, become line breaks: the text reads as its message box shows it.
    void Message(const QString& text);

    // Shows (or redraws) the one line kept in place, cut to the terminal's width.
    void LineInPlace(const QString& text);
    // The same for a block of lines kept in place (one per table being sent at once), each cut to
    // the terminal's width; it replaces the line or block shown before.
    void LinesInPlace(const QStringList& lines);
    // Leaves the line or block in place as it stands and moves below it.
    void KeepLineInPlace();

    // Asks on the terminal and returns the answer without its line break; nullopt when the input
    // ended or Ctrl+C was pressed. Without echo, what is typed is not shown.
    std::optional<QString> Ask(const QString& prompt, bool echo);

    // Asks without echo on the process's terminal itself (/dev/tty), whatever standard input
    // and error are (a pipe, a log file), as a password is asked for; nullopt when the process
    // has no terminal, the input ended or Ctrl+C was pressed.
    std::optional<QString> AskOnTerminalDevice(const QString& prompt);

  private:
    void ClearLineInPlace();
    int linesShown_ = 0;  // the lines kept in place now; the cursor stands at the end of the last
};

// Writes UTF-8 text to a descriptor as a whole, riding out partial writes.
void WriteAll(int descriptor, const QByteArray& bytes);

}  // namespace quorvex
