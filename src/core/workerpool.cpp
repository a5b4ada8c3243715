// SPDX-License-Identifier: MIT
#include "core/workerpool.h"

#include <QThreadPool>

#include <deque>
#include <mutex>

namespace {

// Threads that compute at once; reads and waits that may block do not count
// (MayBlock), so these are for tasks that run to their end: the sort's parts,
// saves, searches.
constexpr int PoolThreads = 64;

// The tasks handed to the pool and not yet taken by one of its threads.
struct Queue
{
    std::mutex mutex;
    std::deque<std::function<void()>> tasks;
};

Queue &queue()
{
    // Never deleted: a pool's thread may still look at exit.
    static Queue *const tasks = new Queue;
    return *tasks;
}

// What a pool's thread runs: the task handed over longest ago.
void runNext()
{
    std::function<void()> task;
    {
        Queue &q = queue();
        const std::lock_guard lock(q.mutex);
        task = std::move(q.tasks.front());
        q.tasks.pop_front();
    }
    task();
}

} // namespace

QThreadPool *workerPool()
{
    // Never deleted: deleting a pool waits for its threads.
    static QThreadPool *const pool = [] {
        auto *threads = new QThreadPool;
        threads->setMaxThreadCount(PoolThreads);
        return threads;
    }();
    return pool;
}

void runOnWorker(std::function<void()> task)
{
    {
        Queue &q = queue();
        const std::lock_guard lock(q.mutex);
        q.tasks.push_back(std::move(task));
    }
    // One start per task queued, so each start finds one; only the function
    // pointer goes through Qt.
    workerPool()->start(runNext);
}

MayBlock::MayBlock()
{
    workerPool()->releaseThread();
}

MayBlock::~MayBlock()
{
    workerPool()->reserveThread();
}
