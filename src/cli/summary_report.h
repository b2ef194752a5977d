#pragma once

#include "cli/terminal.h"
#include "transfer/transfer_summary.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace quorvex {

// The summary `quorvex send` prints at its end: one line per table with the rows of the Paradox
// table, the rows that arrived, the rows refused and the first refusal's reason (or what became
// of a table that was not copied), then the totals.
QString SummaryText(const TransferSummary& summary);

// What a report says of the run as a whole: where it read and wrote (never the password), when.
struct RunRecord {
    QString folder;
    QString sid;
    QString user;
    QDateTime started;
    QDateTime ended;
    int signal = 0;  // the signal that ended the run, 0 for none
    int exitStatus = 0;
    // A send's id in the schema's ledger (RUN_ID, "run 7" in the texts), once it holds the lock.
    std::optional<std::int64_t> ledgerRun = std::nullopt;
};

// The run's fields of a JSON report: "folder", "sid", "user", "start", "end" (ISO 8601, UTC),
// "interrupted", "signal" ("SIGTERM"... or null) and "exitStatus".
QJsonObject RunJson(const RunRecord& run);

// The send's JSON report, for `--report FILE`: RunJson's fields, "run" (its ledger id, or null)
// and
//   "tables": [{"table": "CUSTOMER", "sourceFile": "/data/CUSTOMER.DB", "outcome": "sent",
//               "paradoxRows": 12, "arrived": 12, "refused": 0, "oracleRows": null,
//               "seconds": 0.8, "firstRefusal": null, "note": null}, ...]
// "paradoxRows" is null for a table whose rows were never counted; "oracleRows" is the count of
// a kept table.
QByteArray SummaryJson(const TransferSummary& summary, const RunRecord& run);

// Writes a JSON report whole or not at all (a new file renamed into place); a failure is told on
// the terminal, under the command's name, and false returned.
bool WriteReport(const QString& file, const QByteArray& json, Terminal& terminal,
                 const QString& command = QStringLiteral("send"));

}  // namespace quorvex
