// SPDX-License-Identifier: MIT
#include "core/listingpreview.h"

#include "core/filerows.h"
#include "core/workerpool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

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
    std::vector<std::shared_ptr<const FileRows>> batches; // every row listed so far
    qsizetype rows = 0, bytes = 0; // in the batches
    qsizetype shown = 0; // rows of the last preview shown
    qsizetype kept = 0; // of those, rows the listing still begins with
    int truncated = 0; // times rows were taken back
    Clock::time_point nextDue; // when the next preview may go out
    bool running = false; // a task of the pool shows previews
    std::atomic<bool> closed = false;

    // The task: waits for the time of rows not shown yet, arranges a copy,
    // shows it, and so on until all rows listed are shown or it is closed;
    // the next rows start it again. A folder that lists slowly after fast
    // ones still has those shown in time.
    void run()
    {
        std::unique_lock lock(mutex);
        while (!closed && rows > kept) {
            if (shown != 0 && Clock::now() < nextDue) {
                const MayBlock sleeping;
                changed.wait_until(lock, nextDue);
                continue;
            }
            const auto taken = batches;
            const qsizetype size = rows, byteCount = bytes;
            const int truncatedBefore = truncated;
            lock.unlock();
            const auto began = Clock::now();
            FileRows copy;
            copy.reserve(size, byteCount);
            for (const auto &batch : taken)
                copy.appendCopy(*batch, 0, batch->size());
            Shown preview;
            preview.files.keyLimit = keyLimit;
            preview.files.workers = 1; // the other core goes on listing
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
            nextDue = now + std::max(interval, 7 * (now - began));
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

void ListingPreview::append(std::shared_ptr<const FileRows> rows)
{
    if (!rows || rows->isEmpty())
        return;
    const std::lock_guard lock(m_shared->mutex);
    if (m_shared->closed)
        return;
    m_shared->rows += rows->size();
    m_shared->bytes += rows->nameBytes();
    m_shared->batches.push_back(std::move(rows));
    if (!m_shared->running) {
        m_shared->running = true;
        runOnWorker([shared = m_shared] { shared->run(); });
    }
    m_shared->changed.notify_all();
}

void ListingPreview::truncate(qsizetype count)
{
    const std::lock_guard lock(m_shared->mutex);
    Shared &s = *m_shared;
    if (count >= s.rows)
        return;
    while (!s.batches.empty() && s.rows - s.batches.back()->size() >= count) {
        s.rows -= s.batches.back()->size();
        s.bytes -= s.batches.back()->nameBytes();
        s.batches.pop_back();
    }
    if (s.rows > count) {
        // The batch cut across keeps its first rows, in a copy: a preview
        // being made may still read the whole batch.
        const auto &last = s.batches.back();
        auto kept = std::make_shared<FileRows>();
        kept->appendCopy(*last, 0, last->size() - (s.rows - count));
        s.bytes += kept->nameBytes() - last->nameBytes();
        s.rows = count;
        s.batches.back() = std::move(kept);
    }
    ++s.truncated;
    s.kept = qMin(s.kept, count);
}

qsizetype ListingPreview::close()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->closed = true;
    m_shared->changed.notify_all();
    m_shared->changed.wait(lock, [this] { return !m_shared->running; });
    m_shared->batches.clear(); // their memory goes before the final arranging
    return m_shared->kept;
}
