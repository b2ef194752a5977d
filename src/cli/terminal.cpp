#include "cli/terminal.h"

#include "cli/interrupt_flag.h"
#include "cli/text_table.h"
#include "cli/whole_file.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace quorvex {

namespace {

constexpr char kClearBlock[] = "\r\033[J";

// The terminal's width in columns; 80 when it cannot be asked.
int TerminalColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

// Turns the terminal's echo off for as long as it lives, and back on however the wait ends.
class EchoOff {
  public:
    explicit EchoOff(int descriptor) : descriptor_(descriptor) {
        saved_ = ::tcgetattr(descriptor_, &settings_) == 0;
        if (saved_) {
            termios quiet = settings_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            ::tcsetattr(descriptor_, TCSANOW, &quiet);
        }
    }
    ~EchoOff() {
        if (saved_) {
            ::tcsetattr(descriptor_, TCSANOW, &settings_);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    int descriptor_;
    termios settings_{};
    bool saved_ = false;
};

// The process's terminal, open for as long as it lives; -1 when there is none.
class TerminalDevice {
  public:
    TerminalDevice() : descriptor_(::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY)) {}
    ~TerminalDevice() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    TerminalDevice(const TerminalDevice&) = delete;
    TerminalDevice& operator=(const TerminalDevice&) = delete;
    int descriptor() const { return descriptor_; }

  private:
    int descriptor_;
};

// Reads one line from `input`, waiting on Ctrl+C's descriptor beside it; nullopt at the end of
// the input or on Ctrl+C.
std::optional<QByteArray> ReadLine(int input) {
    QByteArray line;
    for (;;) {
        if (interrupt_flag::Raised()) {
            return std::nullopt;
        }
        pollfd waits[2] = {{input, POLLIN, 0}, {interrupt_flag::WakeDescriptor(), POLLIN, 0}};
        const int ready = ::poll(waits, waits[1].fd >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if ((waits[0].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
            continue;  // only the wake descriptor: the flag is read at the top
        }
        char byte = 0;
        const ssize_t got = ::read(input, &byte, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return line.isEmpty() ? std::nullopt : std::optional<QByteArray>(line);
        }
        if (byte == '\n') {
            return line;
        }
        line.append(byte);
    }
}

}  // namespace

void WriteAll(int descriptor, const QByteArray& bytes) {
    WriteEveryByte(descriptor, bytes);  // a failure has nowhere left to be told
}

bool Terminal::CanAsk() { return ::isatty(STDIN_FILENO) == 1; }

bool Terminal::ShowsLinesInPlace() { return ::isatty(STDERR_FILENO) == 1; }

void Terminal::Message(const QString& text) {
    ClearLineInPlace();
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    WriteAll(STDERR_FILENO, (lines + u'\n').toUtf8());
}

void Terminal::LineInPlace(const QString& text) { LinesInPlace({text}); }

void Terminal::LinesInPlace(const QStringList& lines) {
    ClearLineInPlace();
    // One column is left free: a line that fills the last column wraps on some terminals.
    const int columns = TerminalColumns() - 1;
    QByteArray shown;
    for (const QString& line : lines) {
        shown += (shown.isEmpty() ? QByteArray() : QByteArray("\n")) +
                 CutToWidth(line, columns).toUtf8();
    }
    WriteAll(STDERR_FILENO, shown);
    linesShown_ = static_cast<int>(lines.size());
}

void Terminal::KeepLineInPlace() {
    if (linesShown_ > 0) {
        WriteAll(STDERR_FILENO, "\n");
        linesShown_ = 0;
    }
}

void Terminal::ClearLineInPlace() {
    if (linesShown_ > 0) {
        // Up to the block's first line, then everything from there to the end of the screen.
        const QByteArray up =
            linesShown_ > 1 ? "\033[" + QByteArray::number(linesShown_ - 1) + 'A' : QByteArray();
        WriteAll(STDERR_FILENO, up + kClearBlock);
        linesShown_ = 0;
    }
}

std::optional<QString> Terminal::Ask(const QString& prompt, bool echo) {
    ClearLineInPlace();
    // Echo goes off before the prompt shows: a quick typist never sees the first keys.
    std::optional<EchoOff> quiet;
    if (!echo) {
        quiet.emplace(STDIN_FILENO);
    }
    WriteAll(STDERR_FILENO, prompt.toUtf8());
    const std::optional<QByteArray> answer = ReadLine(STDIN_FILENO);
    if (!echo || !answer) {
        WriteAll(STDERR_FILENO, "\n");  // the line break typed was not shown, or none was typed
    }
    if (!answer) {
        return std::nullopt;
    }
    return QString::fromUtf8(*answer);
}

std::optional<QString> Terminal::AskOnTerminalDevice(const QString& prompt) {
    const TerminalDevice device;
    if (device.descriptor() < 0) {
        return std::nullopt;
    }
    ClearLineInPlace();
    std::optional<QByteArray> answer;
    {
        const EchoOff quiet(device.descriptor());
        WriteAll(device.descriptor(), prompt.toUtf8());
        answer = ReadLine(device.descriptor());
    }
    WriteAll(device.descriptor(), "\n");  // the line break typed was not shown
    if (!answer) {
        return std::nullopt;
    }
    return QString::fromUtf8(*answer);
}

}  // namespace quorvex
