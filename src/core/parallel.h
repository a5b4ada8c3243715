// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// How many threads a sort of `items` rows shares its work among: one when
// the machine gives this process one core (then it all runs on the caller), or
// when the rows are too few to repay waking threads.
int sortWorkers(long long items);

// Runs work(0) .. work(workers - 1) and returns once all have ended. work(0)
// runs on the calling thread, the others on the worker pool; a part the pool
// has not started by the time the caller is done runs on the caller, so that
// a task of the pool may call this and never waits for a thread it holds.
void runWorkers(int workers, const std::function<void(int)> &work);
