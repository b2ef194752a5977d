#include "transfer/table_jobs.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace quorvex {

QStringList RunTableJobs(const QStringList& tables, int jobs,
                         const std::function<TableJob()>& startJob, const StopRequest* stop) {
    if (tables.isEmpty()) {
        return {};
    }
    std::atomic<qsizetype> next{0};
    const auto stopped = [stop] { return stop != nullptr && stop->Requested(); };
    const auto runJob = [&] {
        const TableJob work = startJob();
        if (!work) {
            return;
        }
        while (!stopped()) {
            const qsizetype taken = next.fetch_add(1);
            if (taken >= tables.size() || !work(tables[taken])) {
                return;
            }
        }
    };
    const int threads = static_cast<int>(std::clamp<qsizetype>(jobs, 1, tables.size()));
    std::vector<std::thread> running;
    running.reserve(static_cast<std::size_t>(threads));
    for (int i = 0; i < threads; ++i) {
        running.emplace_back(runJob);
    }
    for (std::thread& thread : running) {
        thread.join();
    }
    return tables.mid(std::min(next.load(), tables.size()));
}

}  // namespace quorvex
