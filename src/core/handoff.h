// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QThreadPool;

// Starts task on one of pool's threads. The task, with all it holds, reaches
// that thread through a std::mutex rather than through Qt's handing of a task
// to a waiting thread: Qt is not built for ThreadSanitizer, which would
// otherwise see the task's data written on one thread and read on another
// with nothing between. The task is destroyed on the pool's thread once run.
void handOff(QThreadPool *pool, std::function<void()> task);
