// SPDX-License-Identifier: MIT
#pragma once

class QThreadPool;

// The threads that list, sort and save away from the window's thread.
// Nothing waits for them at exit, since a read of a hung network mount may
// never return: the process may end with one still running.
QThreadPool *workerPool();
