#include "cli/job_progress.h"

#include "cli/progress_line.h"

#include <algorithm>

namespace quorvex {

namespace {

constexpr qint64 kRedrawIntervalMs = 100;

}  // namespace

JobProgress::JobProgress(Terminal& terminal, bool inPlace, QString command, QString rowsAre)
    : terminal_(terminal),
      inPlace_(inPlace),
      command_(std::move(command)),
      rowsAre_(std::move(rowsAre)) {}

JobProgress::Running* JobProgress::Find(const QString& table) {
    const auto found = std::find_if(running_.begin(), running_.end(),
                                    [&](const Running& entry) { return entry.table == table; });
    return found == running_.end() ? nullptr : &*found;
}

void JobProgress::Started(const QString& table) {
    const std::lock_guard guard(lock_);
    running_.push_back({table, std::nullopt, 0, {}});
    running_.back().clock.start();
    Draw(true);
}

void JobProgress::RowCount(const QString& table, std::int64_t rows) {
    const std::lock_guard guard(lock_);
    if (Running* entry = Find(table)) {
        entry->total = rows;
        Draw(false);
    }
}

void JobProgress::Rows(const QString& table, std::int64_t rows) {
    const std::lock_guard guard(lock_);
    if (Running* entry = Find(table)) {
        entry->rows = rows;
        Draw(false);
    }
}

void JobProgress::Ended(const QString& table, const QString& line) {
    const std::lock_guard guard(lock_);
    running_.erase(std::remove_if(running_.begin(), running_.end(),
                                  [&](const Running& entry) { return entry.table == table; }),
                   running_.end());
    terminal_.Message(line);  // clears the running lines first
    Draw(true);
}

void JobProgress::Report(const QString& text) {
    const std::lock_guard guard(lock_);
    if (reported_.contains(text)) {
        return;
    }
    reported_.insert(text);
    terminal_.Message(QStringLiteral("quorvex %1: %2").arg(command_, text));
    Draw(true);
}

int JobProgress::Reports() {
    const std::lock_guard guard(lock_);
    return static_cast<int>(reported_.size());
}

void JobProgress::Finish() {
    const std::lock_guard guard(lock_);
    terminal_.KeepLineInPlace();
}

void JobProgress::Draw(bool now) {
    if (!inPlace_ || (!now && sinceDrawn_.isValid() && sinceDrawn_.elapsed() < kRedrawIntervalMs)) {
        return;
    }
    sinceDrawn_.start();
    QStringList lines;
    for (const Running& entry : running_) {
        const double percent =
            entry.total && *entry.total > 0
                ? static_cast<double>(entry.rows) / static_cast<double>(*entry.total) * 100.0
                : 100.0;
        lines.append(RunningText(entry.table, entry.rows, entry.total, percent,
                                 entry.clock.elapsed() / 1000.0, rowsAre_));
    }
    terminal_.LinesInPlace(lines);
}

}  // namespace quorvex
