// SPDX-License-Identifier: MIT
#include "widgets/modeldisposal.h"

#include "core/heaptuning.h"
#include "core/workerpool.h"

#include <QFileSystemModel>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace {

// Counted from the moment a model is handed over until it is freed.
std::atomic<int> &pendingModels()
{
    static std::atomic<int> pending = 0;
    return pending;
}

// Deletes the model on a task of the worker pool, which runs no event loop:
// whatever the model's reading thread still sends it, or a timer of the model
// asks for, is never handled and goes with the model. The deletion waits for
// that reading thread, which may be stuck in a read of a hung drive: the task
// gives up its place in the pool meanwhile, and nothing waits for it.
void deleteOnWorker(QFileSystemModel *model)
{
    runOnWorker([model] {
        // Without a thread since it was handed over: taken by this one to be deleted.
        model->moveToThread(QThread::currentThread());
        {
            const MayBlock hungDrive;
            delete model;
        }
        // A model's nodes are scattered through the heap: give the pages back.
        trimHeap();
        --pendingModels();
    });
}

} // namespace

void ModelDisposal::dispose(QFileSystemModel *model)
{
    // From now on nothing the model is sent is handled: it is done.
    ++pendingModels();
    model->moveToThread(nullptr);
    // It may still have a sort due at once on a timer of this thread,
    // which must fire before the timer is deleted with the model.
    QTimer::singleShot(10, [model] { deleteOnWorker(model); });
}

int ModelDisposal::pending()
{
    return pendingModels().load();
}
