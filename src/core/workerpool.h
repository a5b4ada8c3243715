// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QThreadPool;

// The one pool of threads that does all work away from the window's thread:
// listing, sort keys, previews, sorts and the parts they share out, bulk
// changes, searches, copies, saves and the freeing of what was shown.
// Nothing waits for it at exit, since a read of a hung network mount may
// never return: the process may end with one of its threads still running.
QThreadPool *workerPool();

// Starts task on one of the pool's threads. The task, with all it holds,
// reaches that thread through a std::mutex rather than through Qt's handing
// of a task to a waiting thread: Qt is not built for ThreadSanitizer, which
// would otherwise see the task's data written on one thread and read on
// another with nothing between. The task is destroyed on that thread once run.
void runOnWorker(std::function<void()> task);

// While one lives on a pool thread, that thread does not count against the
// pool's limit, so that the next task gets a thread of its own: for a read
// that may never return (a hung mount) and for a wait on other work of the
// pool. A thread stuck for good in such a read leaves the pool as large as
// it was for everything after it.
class MayBlock
{
public:
    MayBlock();
    ~MayBlock();
    MayBlock(const MayBlock &) = delete;
    MayBlock &operator=(const MayBlock &) = delete;
};
