// SPDX-License-Identifier: MIT
#include "core/parallel.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

// More would cost more in per-thread counts than they save.
constexpr int MostWorkers = 16;
// Fewer rows sort in well under a millisecond on one core.
constexpr long long ParallelMinimum = 4096;

QThreadPool *sortPool()
{
    // Never deleted: a worker still sorting at exit must not find it gone.
    static QThreadPool *const pool = [] {
        auto *threads = new QThreadPool;
        threads->setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, MostWorkers));
        return threads;
    }();
    return pool;
}

} // namespace

int sortWorkers(long long items)
{
    if (items < ParallelMinimum)
        return 1;
    // Asked each time: the cores this process may use can change (taskset).
    return std::clamp(QThread::idealThreadCount(), 1, MostWorkers);
}

void runWorkers(int workers, const std::function<void(int)> &work)
{
    if (workers <= 1) {
        work(0);
        return;
    }
    // Shared with the pool's tasks, which may start after this returns.
    // The standard's lock and condition: ThreadSanitizer sees through them.
    struct Shared
    {
        explicit Shared(int tasks)
            : claimed(new std::atomic<bool>[size_t(tasks)])
            , pending(tasks - 1)
        {
            for (int i = 0; i < tasks; ++i)
                claimed[i].store(false);
        }
        std::unique_ptr<std::atomic<bool>[]> claimed;
        std::mutex mutex;
        std::condition_variable ended;
        int pending;
    };
    const auto shared = std::make_shared<Shared>(workers);
    auto finish = [](Shared &s) {
        const std::lock_guard lock(s.mutex);
        --s.pending;
        s.ended.notify_all();
    };
    for (int i = 1; i < workers; ++i) {
        sortPool()->start([shared, i, &work, finish] {
            // Whoever claims a task runs it; a late start finds it taken and
            // must not touch `work`, which may be gone.
            if (shared->claimed[i].exchange(true))
                return;
            work(i);
            finish(*shared);
        });
    }
    work(0);
    for (int i = 1; i < workers; ++i) {
        if (!shared->claimed[i].exchange(true)) {
            work(i);
            finish(*shared);
        }
    }
    std::unique_lock lock(shared->mutex);
    shared->ended.wait(lock, [&] { return shared->pending == 0; });
}
