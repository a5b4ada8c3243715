// SPDX-License-Identifier: MIT
#include "core/handoff.h"

#include <QThreadPool>

#include <deque>
#include <map>
#include <mutex>

namespace {

// The tasks handed to each pool and not yet taken by one of its threads.
struct Queues
{
    std::mutex mutex;
    std::map<QThreadPool *, std::deque<std::function<void()>>> tasks;
};

Queues &queues()
{
    // Never deleted: a pool's thread may still look at exit.
    static Queues *const queues = new Queues;
    return *queues;
}

// What a pool's thread runs: the task handed to that pool longest ago.
void runNext(QThreadPool *pool)
{
    std::function<void()> task;
    {
        Queues &q = queues();
        const std::lock_guard lock(q.mutex);
        auto &tasks = q.tasks[pool];
        task = std::move(tasks.front());
        tasks.pop_front();
    }
    task();
}

} // namespace

void handOff(QThreadPool *pool, std::function<void()> task)
{
    {
        Queues &q = queues();
        const std::lock_guard lock(q.mutex);
        q.tasks[pool].push_back(std::move(task));
    }
    // One start per task queued, so each start finds one. The pointer alone
    // goes through Qt: std::function keeps it in place and Qt copies it.
    pool->start([pool] { runNext(pool); });
}
