#pragma once

#include "shell/stop_request.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quorvex {

// Work on one table, done by a job on its own thread. Returns false when the job can take no
// further table (its connection was lost). It reports its own failures and throws nothing.
using TableJob = std::function<bool(const QString& table)>;

// Runs the tables through up to `jobs` jobs at once, each on a thread of its own: `startJob` runs
// first on each job's thread and makes that job's work (opening its own connections there; an
// empty TableJob when it cannot start, having said why itself), which then takes the next table
// no job has taken, in order, until none is left, the stop request is seen, or it returns false.
// Returns when every job has ended, with the tables no job came to, in order.
QStringList RunTableJobs(const QStringList& tables, int jobs,
                         const std::function<TableJob()>& startJob, const StopRequest* stop);

}  // namespace quorvex
