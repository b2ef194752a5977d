#pragma once

#include "cli/terminal.h"
#include "shell/ui.h"
#include "transfer/transfer_summary.h"

#include <QElapsedTimer>

#include <cstdint>
#include <optional>

namespace quorvex {

// "m:ss", or "h:mm:ss" from an hour on.
QString Duration(double seconds);

// A table's line while its rows go: "T: 1200 of 5000 rows, 24%, 900 rows/s, 0:04 left", or
// without a known total "T: 1200 rows, 900 rows/s"; `rowsAre` follows "rows" ("compared").
QString RunningText(const QString& table, std::int64_t rows, std::optional<std::int64_t> total,
                    double percent, double seconds, const QString& rowsAre = QString());

// A table's line once it is done: "T: 4 of 5 rows arrived, 1 refused (0:02)" for a table whose
// rows were sent, else its outcome and note ("T: rolled back (stopped after 2000 of 5000 rows)").
QString FinishedText(const SentTable& table, std::optional<double> seconds);

// The transfer's progress bar on the command line. On a terminal, one line per table redrawn in
// place (rows sent of rows, percent, rows per second, time left) at most every tenth of a
// second; elsewhere (a log file, a pipe) one line per table when it ends. The command sets the
// bar before each row and back to 0 when it is done with a table; the rows come from the
// summary, which follows the same command.
class ProgressLine : public ProgressBar {
  public:
    ProgressLine(Terminal& terminal, const TransferSummary& summary, bool inPlace);

    double Value() const override { return value_; }
    void SetValue(double value) override;

  private:
    QString Running(const SentTable& table) const;
    QString Finished(const SentTable& table) const;

    Terminal& terminal_;
    const TransferSummary& summary_;
    bool inPlace_;
    double value_ = 0.0;
    bool started_ = false;      // a table's rows are being sent
    QElapsedTimer sinceStart_;  // since the table's first row
    qint64 lastDrawnMs_ = 0;
};

}  // namespace quorvex
