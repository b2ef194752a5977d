#include "cli/connected_jobs.h"

#include "cli/interrupt_flag.h"
#include "data/core/connection_strings.h"
#include "shell/command_steps.h"
#include "transfer/table_jobs.h"

#include <memory>

namespace quorvex {

QStringList RunConnectedJobs(const ConnectionFields& fields, const QStringList& tables, int jobs,
                             JobProgress& progress, const ConnectedWork& work) {
    // No job reads the connection fields.
    const QString oracleString = OracleConnectionString(fields);
    const QString paradoxString = ParadoxConnectionString(fields);
    StopRequest stop;
    interrupt_flag::StopOnInterrupt(&stop);
    const QStringList unreached = RunTableJobs(
        tables, jobs,
        [&]() -> TableJob {
            std::shared_ptr<BulkConnections> own;
            try {
                own = BulkConnections::Open(oracleString, paradoxString);
            } catch (const std::exception& failure) {
                progress.Report(QStringLiteral("a job could not connect: ") +
                                CommandSteps::Describe(failure));
                return {};
            }
            return [own, &work, &stop](const QString& table) { return work(*own, table, stop); };
        },
        &stop);
    interrupt_flag::StopOnInterrupt(nullptr);
    progress.Finish();
    return unreached;
}

}  // namespace quorvex
