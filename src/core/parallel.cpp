// SPDX-License-Identifier: MIT
#include "core/parallel.h"

#include "core/workerpool.h"

#include <QThread>

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

// One runWorkers() call, shared with the pool's tasks, which may start after
// it returns. The standard's lock, condition and atomics: ThreadSanitizer sees
// through them, not through Qt's handing of a task to a waiting thread.
struct Call
{
    Call(int workers, const std::function<void(int)> &work)
        : work(work)
        , claimed(new std::atomic<bool>[size_t(workers)])
        , pending(workers - 1)
    {
        for (int i = 0; i < workers; ++i)
            claimed[i].store(false);
    }

    // Whoever claims a worker first runs it; false when already claimed.
    bool run(int worker)
    {
        if (claimed[worker].exchange(true))
            return false;
        work(worker);
        return true;
    }

    void ended()
    {
        const std::lock_guard lock(mutex);
        --pending;
        changed.notify_all();
    }

    const std::function<void(int)> &work; // valid while pending > 0
    std::unique_ptr<std::atomic<bool>[]> claimed;
    std::mutex mutex;
    std::condition_variable changed;
    int pending;
};

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
    const auto call = std::make_shared<Call>(workers, work);
    for (int i = 1; i < workers; ++i) {
        runOnWorker([call, i] {
            if (call->run(i))
                call->ended();
        });
    }
    call->run(0);
    // What the pool has not started yet runs here; a task that starts later
    // finds it claimed and leaves `work` alone.
    for (int i = 1; i < workers; ++i) {
        if (call->run(i))
            call->ended();
    }
    std::unique_lock lock(call->mutex);
    call->changed.wait(lock, [&] { return call->pending == 0; });
}
