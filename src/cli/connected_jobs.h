#pragma once

#include "cli/job_progress.h"
#include "data/core/connection_fields.h"
#include "shell/stop_request.h"
#include "transfer/bulk_connections.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quorvex {

// Work on one table with a job's own connections; false when the job can take no further table
// (its connection was lost).
using ConnectedWork =
    std::function<bool(BulkConnections& own, const QString& table, const StopRequest& stop)>;

// Runs `work` on the tables, `jobs` at a time, each job on a thread of its own with its own
// connections (BulkConnections, from connection strings built once here from `fields`), until
// every table is taken or Ctrl+C, SIGTERM or SIGHUP asks every job to stop after the work in
// hand. A job that cannot connect is reported (once, however many jobs meet it) and takes no
// table. Returns the tables no job came to, in order.
QStringList RunConnectedJobs(const ConnectionFields& fields, const QStringList& tables, int jobs,
                             JobProgress& progress, const ConnectedWork& work);

}  // namespace quorvex
