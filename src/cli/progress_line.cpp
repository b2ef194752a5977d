#include "cli/progress_line.h"

namespace quorvex {

namespace {

constexpr qint64 kRedrawIntervalMs = 100;

// "m:ss", or "h:mm:ss" from an hour on.
QString Duration(double seconds) {
    const qint64 whole = static_cast<qint64>(seconds + 0.5);
    const QString paddedSeconds = QString::number(whole % 60).rightJustified(2, u'0');
    if (whole < 3600) {
        return QString::number(whole / 60) + u':' + paddedSeconds;
    }
    return QString::number(whole / 3600) + u':' +
           QString::number(whole / 60 % 60).rightJustified(2, u'0') + u':' + paddedSeconds;
}

}  // namespace

ProgressLine::ProgressLine(Terminal& terminal, const TransferSummary& summary, bool inPlace)
    : terminal_(terminal), summary_(summary), inPlace_(inPlace) {}

void ProgressLine::SetValue(double value) {
    value_ = value;
    const SentTable* table = summary_.Current();
    if (table == nullptr) {
        return;
    }
    if (value == 0.0) {  // the command is done with this table
        if (inPlace_) {
            terminal_.LineInPlace(Finished(*table));
            terminal_.KeepLineInPlace();
        } else {
            terminal_.Message(Finished(*table));
        }
        started_ = false;
        return;
    }
    if (!started_) {
        started_ = true;
        sinceStart_.start();
        lastDrawnMs_ = -kRedrawIntervalMs;
    }
    const qint64 now = sinceStart_.elapsed();
    if (inPlace_ && now - lastDrawnMs_ >= kRedrawIntervalMs) {
        lastDrawnMs_ = now;
        terminal_.LineInPlace(Running(*table));
    }
}

QString ProgressLine::Running(const SentTable& table) const {
    const std::int64_t total = table.paradoxRows.value_or(0);
    const std::int64_t done = table.arrived + table.refused;
    // One pass of arg() with texts: a table name holding "%1" stays as it is.
    QString line = QStringLiteral("%1: %2 of %3 rows, %4%")
                       .arg(table.name, QString::number(done), QString::number(total),
                            QString::number(value_, 'f', 0));
    const double seconds = sinceStart_.elapsed() / 1000.0;
    if (done > 0 && seconds > 0.0) {
        const double rate = static_cast<double>(done) / seconds;
        line += QStringLiteral(", %1 rows/s, %2 left")
                    .arg(QString::number(rate, 'f', 0),
                         Duration(static_cast<double>(total - done) / rate));
    }
    return line;
}

QString ProgressLine::Finished(const SentTable& table) const {
    if (table.fate != SentTable::Fate::Copied) {
        return QStringLiteral("%1: %2").arg(table.name, table.Outcome());
    }
    QString line =
        QStringLiteral("%1: %2 of %3 rows arrived, %4 refused")
            .arg(table.name, QString::number(table.arrived),
                 QString::number(table.paradoxRows.value_or(0)), QString::number(table.refused));
    if (started_) {
        line += QStringLiteral(" (%1)").arg(Duration(sinceStart_.elapsed() / 1000.0));
    }
    return line;
}

}  // namespace quorvex
