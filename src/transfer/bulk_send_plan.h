#pragma once

#include "shell/table_list.h"
#include "transfer/bulk_table_copy.h"
#include "transfer/kept_tables.h"
#include "transfer/transfer_summary.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>

namespace quorvex {

// What becomes of each chosen table of a bulk send: sent (its Oracle table dropped first when it
// may be overwritten) or kept, which is recorded in the summary at once.
struct BulkSendPlan {
    QStringList toSend;
    QSet<QString> dropFirst;
};

// Settles every chosen table already in Oracle (`oracle`; `kept`: their counts) before any table
// is sent, so that no question is asked while tables are being sent: `ask` gives the answer to
// the overwrite question (vbYes or vbNo), in the list's order. When `stop` holds after an
// answer, the planning ends there and that table is not reached.
BulkSendPlan PlanBulkSend(
    const QStringList& chosen, const TableList& oracle, const std::map<QString, KeptTable>& kept,
    TransferSummary& summary,
    const std::function<int(const QString& table, const std::optional<KeptTable>& counted)>& ask,
    const std::function<bool()>& stop);

// The summary's record of a table sent in bulk. A row stored with NULL for a number Oracle cannot
// hold counts as refused, as in the row-by-row send.
SentTable BulkRecordOf(const QString& table, const BulkTableResult& result,
                       const QString& firstProblem, double seconds);

}  // namespace quorvex
