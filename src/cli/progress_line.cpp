#include "cli/progress_line.h"

namespace quorvex {

namespace {

constexpr qint64 kRedrawIntervalMs = 100;

}  // namespace

QString Duration(double seconds) {
    const qint64 whole = static_cast<qint64>(seconds + 0.5);
    const QString paddedSeconds = QString::number(whole % 60).rightJustified(2, u'0');
    if (whole < 3600) {
        return QString::number(whole / 60) + u':' + paddedSeconds;
    }
    return QString::number(whole / 3600) + u':' +
           QString::number(whole / 60 % 60).rightJustified(2, u'0') + u':' + paddedSeconds;
}

QString RunningText(const QString& table, std::int64_t rows, std::optional<std::int64_t> total,
                    double percent, double seconds, const QString& rowsAre) {
    const QString what =
        rowsAre.isEmpty() ? QStringLiteral("rows") : QStringLiteral("rows ") + rowsAre;
    // One pass of arg() with texts: a table name holding "%1" stays as it is.
    QString line = total ? QStringLiteral("%1: %2 of %3 %4, %5%")
                               .arg(table, QString::number(rows), QString::number(*total), what,
                                    QString::number(percent, 'f', 0))
                         : QStringLiteral("%1: %2 %3").arg(table, QString::number(rows), what);
    if (rows > 0 && seconds > 0.0) {
        const double rate = static_cast<double>(rows) / seconds;
        line += QStringLiteral(", %1 rows/s").arg(QString::number(rate, 'f', 0));
        if (total) {
            line += QStringLiteral(", %1 left")
                        .arg(Duration(static_cast<double>(*total - rows) / rate));
        }
    }
    return line;
}

QString FinishedText(const SentTable& table, std::optional<double> seconds) {
    QString line;
    if (table.fate == SentTable::Fate::Copied) {
        line = QStringLiteral("%1: %2 of %3 rows arrived, %4 refused")
                   .arg(table.name, QString::number(table.arrived),
                        QString::number(table.paradoxRows.value_or(0)),
                        QString::number(table.refused));
    } else {
        line = QStringLiteral("%1: %2").arg(table.name, table.Outcome());
        if (!table.note.isEmpty()) {
            line += QStringLiteral(" (%1)").arg(table.note);
        }
        return line;
    }
    if (seconds) {
        line += QStringLiteral(" (%1)").arg(Duration(*seconds));
    }
    return line;
}

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
    return RunningText(table.name, table.arrived + table.refused, table.paradoxRows.value_or(0),
                       value_, sinceStart_.elapsed() / 1000.0);
}

QString ProgressLine::Finished(const SentTable& table) const {
    if (table.fate != SentTable::Fate::Copied) {
        return QStringLiteral("%1: %2").arg(table.name, table.Outcome());
    }
    return FinishedText(
        table, started_ ? std::optional<double>(sinceStart_.elapsed() / 1000.0) : std::nullopt);
}

}  // namespace quorvex
