// SPDX-License-Identifier: MIT
#include "core/workerpool.h"

#include <QThreadPool>

QThreadPool *workerPool()
{
    // Never deleted: deleting a pool waits for its threads.
    static QThreadPool *const pool = [] {
        auto *threads = new QThreadPool;
        // Each read stuck on a hung mount holds a thread; the rest must go on.
        threads->setMaxThreadCount(64);
        return threads;
    }();
    return pool;
}
