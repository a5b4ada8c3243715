// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// How many threads a sort of `items` rows shares its work among: one when
// the machine gives this process one core (then it all runs on the caller), or
// when the rows are too few to repay waking threads.
int sortWorkers(long long items);

// Runs work(0) .. work(workers - 1) and returns once all have ended. work(0)
// runs on the calling thread; the others on a pool of their own, never the
// one the rebuilds run on, so a rebuild's task may wait on them. A task the
// pool has not started by the time the caller is done runs on the caller.
void runWorkers(int workers, const std::function<void(int)> &work);
