// SPDX-License-Identifier: MIT
#include "widgets/modeldisposal.h"

#include "core/heaptuning.h"

#include <QFileSystemModel>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

// The thread that deletes the models, one after another. It runs no event
// loop: whatever a model's reading thread still sends it, or a timer of the
// model asks for, is never handled and goes with the model. Never deleted nor
// waited for: a model's deletion waits for its reading thread, which may be
// stuck in a read of a hung drive, and the program must still end.
class Disposal : public QThread
{
public:
    static Disposal &instance()
    {
        static Disposal *const disposal = [] {
            auto *thread = new Disposal;
            thread->setObjectName(QStringLiteral("Dialog disposal"));
            thread->start(QThread::LowPriority);
            return thread;
        }();
        return *disposal;
    }

    int pending() const { return m_pending.load(); }

    // Counted from the moment a model is handed over until it is freed.
    void expect() { ++m_pending; }

    // object must have been moved to this thread.
    void dispose(QObject *object)
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(object);
        m_wake.notify_one();
    }

protected:
    void run() override
    {
        for (;;) {
            QObject *object;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_queue.empty(); });
                object = m_queue.front();
                m_queue.pop_front();
            }
            delete object;
            // A model's nodes are scattered through the heap: give the pages back.
            trimHeap();
            --m_pending;
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QObject *> m_queue;
    std::atomic<int> m_pending = 0;
};

} // namespace

void ModelDisposal::dispose(QFileSystemModel *model)
{
    Disposal &disposal = Disposal::instance();
    // From now on nothing the model is sent is handled: it is done.
    disposal.expect();
    model->moveToThread(&disposal);
    // It may still have a sort due at once on a timer of this thread,
    // which must fire before the timer is deleted with the model.
    QTimer::singleShot(10, [model] { Disposal::instance().dispose(model); });
}

int ModelDisposal::pending()
{
    return Disposal::instance().pending();
}
