#pragma once

#include "cli/transfer_summary.h"

#include <QByteArray>
#include <QString>

namespace quorvex {

// The summary `quorvex send` prints at its end: one line per table with the rows of the Paradox
// table, the rows that arrived, the rows refused and the first refusal's reason (or what became
// of a table that was not copied), then the totals.
QString SummaryText(const TransferSummary& summary);

// The same as JSON, for `--report FILE`:
//   {"tables": [{"table": "CUSTOMER", "outcome": "sent", "paradoxRows": 12, "arrived": 12,
//                "refused": 0, "firstRefusal": null}, ...],
//    "interrupted": false, "exitStatus": 0}
// "paradoxRows" is null for a table whose rows were never counted.
QByteArray SummaryJson(const TransferSummary& summary, bool interrupted, int exitStatus);

}  // namespace quorvex
