#pragma once

#include "cli/terminal.h"

#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace quorvex {

// The terminal of a command that works on several tables at once (`send --bulk --jobs N`,
// `verify`), shared by its jobs' threads: on a terminal, one line per running table kept in
// place below everything else and redrawn at most every tenth of a second; elsewhere (a log
// file, a pipe) only the line each table ends with. Every message of the jobs goes through it,
// so that lines never run into each other.
class JobProgress {
  public:
    // `command` names the command in its reports ("send"); `rowsAre` follows "rows" in the
    // running lines ("compared"), empty for nothing.
    JobProgress(Terminal& terminal, bool inPlace, QString command, QString rowsAre = QString());

    // A job took the table; its row count is not known yet.
    void Started(const QString& table);
    // The table's row count, once known.
    void RowCount(const QString& table, std::int64_t rows);
    // How many of its rows are dealt with.
    void Rows(const QString& table, std::int64_t rows);
    // The table is done: `line` says what it reached, above the running lines.
    void Ended(const QString& table, const QString& line);
    // A failure report on standard error, above the running lines, after "quorvex COMMAND: ";
    // told once however many jobs meet it (every job may fail to connect alike).
    void Report(const QString& text);
    // How many reports were told.
    int Reports();
    // The running lines are left as they stand; the command goes on below them.
    void Finish();

  private:
    struct Running {
        QString table;
        std::optional<std::int64_t> total;
        std::int64_t rows = 0;
        QElapsedTimer clock;
    };

    Running* Find(const QString& table);
    // Redraws the running lines when `now` or when the last drawing is old enough. Locked.
    void Draw(bool now);

    std::mutex lock_;
    Terminal& terminal_;
    bool inPlace_;
    QString command_;
    QString rowsAre_;
    QSet<QString> reported_;
    std::vector<Running> running_;
    QElapsedTimer sinceDrawn_;
};

}  // namespace quorvex
