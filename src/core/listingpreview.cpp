// SPDX-License-Identifier: MIT
#include "core/listingpreview.h"

#include "core/filerows.h"
#include "core/handoff.h"
#include "core/workerpool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// All of it guarded by mutex but closed, which the worker reads while it arranges.
struct ListingPreview::Shared
{
    using Clock = std::chrono::steady_clock;

    SortState state;
    qsizetype keyLimit = 0;
    Show show;
    Clock::duration interval;
    std::mutex mutex;
    std::condition_variable changed;
    FileRows rows; // every row listed so far
    qsizetype shown = 0; // rows of the last preview shown
    qsizetype kept = 0; // of those, rows the listing still begins with
    int truncated = 0; // times rows were taken back
    Clock::time_point nextDue; // when the next preview may go out
    bool running = false; // the worker showing previews
    std::atomic<bool> closed = false;

    // The worker: waits for rows not shown yet and for their time, arranges
    // a copy, shows it, and so on until closed. A folder that lists slowly
    // after fast ones still has those shown in time.
    void run()
    {
        std::unique_lock lock(mutex);
        while (!closed) {
            if (rows.size() <= kept) {
                changed.wait(lock);
                continue;
            }
            if (shown != 0 && Clock::now() < nextDue) {
                changed.wait_until(lock, nextDue);
                continue;
            }
            FileRows copy = rows;
            const int truncatedBefore = truncated;
            lock.unlock();
            const auto began = Clock::now();
            Shown preview;
            preview.files.keyLimit = keyLimit;
            preview.files.workers = 1; // the other core goes on listing
            const qsizetype size = copy.size();
            const bool arranged = arrangeRows(
                preview.files, std::move(copy), state, [this] { return closed.load(); });
            lock.lock();
            if (!arranged || closed)
                break;
            if (truncated != truncatedBefore)
                continue; // some of its rows are gone
            preview.kept = kept;
            shown = kept = size;
            const auto now = Clock::now();
            nextDue = now + std::max(interval, 3 * (now - began));
            // Under the lock, so that close() returns only after it.
            show(std::move(preview));
        }
        running = false;
        changed.notify_all();
    }
};

ListingPreview::ListingPreview(const SortState &state, qsizetype keyLimit, Show show, int interval)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->state = state;
    m_shared->keyLimit = keyLimit;
    m_shared->show = std::move(show);
    m_shared->interval = std::chrono::milliseconds(interval);
}

ListingPreview::~ListingPreview()
{
    close();
}

void ListingPreview::append(const FileRows &rows, qsizetype from, qsizetype to)
{
    if (from >= to)
        return;
    const std::lock_guard lock(m_shared->mutex);
    if (m_shared->closed)
        return;
    m_shared->rows.appendCopy(rows, from, to);
    if (!m_shared->running) {
        m_shared->running = true;
        handOff(workerPool(), [shared = m_shared] { shared->run(); });
    }
    m_shared->changed.notify_all();
}

void ListingPreview::truncate(qsizetype count)
{
    const std::lock_guard lock(m_shared->mutex);
    if (count >= m_shared->rows.size())
        return;
    m_shared->rows.truncate(count);
    ++m_shared->truncated;
    m_shared->kept = qMin(m_shared->kept, count);
}

qsizetype ListingPreview::close()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->closed = true;
    m_shared->changed.notify_all();
    m_shared->changed.wait(lock, [this] { return !m_shared->running; });
    m_shared->rows = FileRows(); // its memory goes before the final arranging
    return m_shared->kept;
}
