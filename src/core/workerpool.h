// SPDX-License-Identifier: MIT
#pragma once

#include <QFuture>
#include <QPromise>

#include <functional>
#include <memory>
#include <type_traits>

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

// As runOnWorker(), for work with a result, told through the future it
// returns: work(promise) adds the result, or none when it gives up, and may
// ask promise.isCanceled() meanwhile. Work canceled before it starts is not run.
template<typename T, typename Work> QFuture<T> runWithPromise(Work work)
{
    const auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    promise->start();
    runOnWorker([promise, work = std::move(work)]() mutable {
        if (!promise->isCanceled())
            work(*promise);
        promise->finish();
    });
    return future;
}

// The same for work that returns its result.
template<typename Work> auto runForResult(Work work)
{
    using T = std::invoke_result_t<Work &>;
    return runWithPromise<T>(
        [work = std::move(work)](QPromise<T> &promise) mutable { promise.addResult(work()); });
}

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
