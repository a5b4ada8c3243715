// SPDX-License-Identifier: MIT
#include "core/keysahead.h"

#include "core/collation.h"
#include "core/filerows.h"
#include "core/heaptuning.h"
#include "core/listingpreview.h"
#include "core/workerpool.h"

#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace {

// Names handed over together, and once made, their keys.
struct Chunk
{
    qsizetype first = 0; // the listing's number of its first row
    qsizetype size = 0;
    qsizetype used = -1; // rows still in the listing after a truncate; -1 all
    std::shared_ptr<const FileRows> names; // until its keys are made
    bool taken = false; // a thread makes its keys
    bool made = false;
    std::array<std::vector<uint8_t>, 2> bytes;
    std::array<std::vector<uint32_t>, 2> offsets; // into bytes, per row

    qsizetype rows() const { return used < 0 ? size : used; }
    size_t keyBytes(int column) const
    {
        const qsizetype n = rows();
        return n == size ? bytes[size_t(column)].size() : offsets[size_t(column)][size_t(n)];
    }
};

} // namespace

// All of it guarded by mutex but a taken chunk's keys, which only the thread
// that took it touches until it is made.
struct KeysAhead::Shared
{
    bool active = false; // set before any thread shares it, then never changed
    std::array<bool, 2> wanted {};
    qsizetype keyLimit = 0;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::shared_ptr<Chunk>> chunks; // in row order, none empty
    qsizetype handed = 0; // rows handed over and still in the listing
    std::array<size_t, 2> made {}; // key bytes made, to give up past the limit
    int ticket = 0;
    bool closed = false; // no more rows come
    bool abandoned = false; // nobody takes the keys
    bool working = false; // a task of the pool makes keys
    // Its collator, passed from one such task to the next.
    std::optional<Collator> collator;
    std::shared_ptr<ListingPreview> preview;

    bool anyWanted() const { return wanted[0] || wanted[1]; }

    std::shared_ptr<Chunk> nextToMake() const
    {
        for (const auto &chunk : chunks)
            if (!chunk->taken)
                return chunk;
        return nullptr;
    }

    // Makes the keys of one taken chunk; called with lock held, returns with it held.
    void make(Chunk &chunk, Collator &collator, std::unique_lock<std::mutex> &lock)
    {
        const std::array<bool, 2> columns { wanted[0] && made[0] <= size_t(keyLimit),
            wanted[1] && made[1] <= size_t(keyLimit) };
        lock.unlock();
        const qsizetype n = chunk.names->size();
        for (const int column : { NameColumn, ExtensionColumn }) {
            if (!columns[size_t(column)])
                continue;
            auto &bytes = chunk.bytes[size_t(column)];
            auto &offsets = chunk.offsets[size_t(column)];
            offsets.reserve(size_t(n));
            for (qsizetype row = 0; row < n; ++row) {
                offsets.push_back(uint32_t(bytes.size()));
                collator.appendKey(column == ExtensionColumn ? chunk.names->extension(row)
                                                             : chunk.names->fileName(row),
                    bytes);
            }
        }
        chunk.names.reset(); // the listing holds the names
        lock.lock();
        for (const int column : { NameColumn, ExtensionColumn }) {
            if (columns[size_t(column)])
                made[size_t(column)] += chunk.bytes[size_t(column)].size();
            else
                wanted[size_t(column)] = false; // past the limit: none of this column
        }
        chunk.made = true;
        changed.notify_all();
    }

    // Drops the rows from count on.
    void truncate(qsizetype count)
    {
        ++ticket;
        while (!chunks.empty() && chunks.back()->first >= count)
            chunks.pop_back();
        if (!chunks.empty() && chunks.back()->first + chunks.back()->rows() > count)
            chunks.back()->used = count - chunks.back()->first;
        handed = qMin(handed, count);
        if (preview)
            preview->truncate(count);
    }
};

namespace {

// Makes keys while the listing goes on, until it has caught up with the
// names handed over; the next names start it again.
void makeKeys(const std::shared_ptr<KeysAhead::Shared> &shared)
{
    std::unique_lock lock(shared->mutex);
    while (const auto chunk = shared->abandoned ? nullptr : shared->nextToMake()) {
        chunk->taken = true;
        // Made only for a chunk: a task that starts once the listing is done
        // may find the program ending, QLocale's data gone with it.
        std::optional<Collator> &collator = shared->collator;
        shared->make(*chunk, collator ? *collator : collator.emplace(), lock);
    }
    shared->working = false;
    shared->changed.notify_all();
}

} // namespace

KeysAhead::KeysAhead(
    const SortState &state, qsizetype keyLimit, std::shared_ptr<ListingPreview> preview)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->preview = std::move(preview);
    // On one core, keys made alongside would only take turns with the listing.
    if (!state.sorted || QThread::idealThreadCount() < 2)
        return;
    m_shared->active = true;
    m_shared->wanted[size_t(NameColumn)] = true;
    m_shared->wanted[size_t(ExtensionColumn)] = state.column == ExtensionColumn;
    m_shared->keyLimit = keyLimit;
}

KeysAhead::~KeysAhead()
{
    // The thread making keys ends after its chunk; nothing waits for it.
    const std::lock_guard lock(m_shared->mutex);
    m_shared->closed = m_shared->abandoned = true;
    m_shared->changed.notify_all();
}

int KeysAhead::begin(qsizetype firstRow)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->truncate(firstRow);
    return m_shared->ticket;
}

void KeysAhead::add(int ticket, const FileRows &rows, qsizetype from, qsizetype to)
{
    Shared &s = *m_shared;
    if (!(s.active || s.preview) || from >= to)
        return;
    // One copy of the names, for the keys and the preview alike.
    auto names = std::make_shared<FileRows>();
    names->appendCopy(rows, from, to);
    const std::lock_guard lock(s.mutex);
    if (ticket != s.ticket || s.closed)
        return;
    if (s.preview)
        s.preview->append(names);
    if (!s.active)
        return;
    auto chunk = std::make_shared<Chunk>();
    chunk->names = std::move(names);
    chunk->size = to - from;
    chunk->first = s.handed;
    s.handed += to - from;
    s.chunks.push_back(std::move(chunk));
    if (!s.working) {
        s.working = true;
        runOnWorker([shared = m_shared] { makeKeys(shared); });
    }
    s.changed.notify_all();
}

void KeysAhead::truncate(qsizetype count)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->truncate(count);
}

ColumnKeys KeysAhead::take(qsizetype rows)
{
    Shared &s = *m_shared;
    std::unique_lock lock(s.mutex);
    s.closed = true;
    ++s.ticket;
    s.changed.notify_all();
    if (!s.anyWanted() || s.handed != rows)
        return {};
    // What the other thread has not begun is made here too.
    std::optional<Collator> collator;
    while (const auto chunk = s.nextToMake()) {
        chunk->taken = true;
        s.make(*chunk, collator ? *collator : collator.emplace(), lock);
    }
    s.changed.wait(lock, [&] {
        return std::all_of(s.chunks.begin(), s.chunks.end(), [](const auto &c) { return c->made; });
    });

    ColumnKeys keys;
    for (const int column : { NameColumn, ExtensionColumn }) {
        if (!s.wanted[size_t(column)])
            continue;
        size_t size = 0;
        for (const auto &chunk : s.chunks)
            size += chunk->keyBytes(column);
        if (size > size_t(qMin(s.keyLimit, SortKeys::MaxBytes)))
            continue;
        // One allocation of the exact size, each chunk's keys freed once copied.
        std::vector<uint8_t> bytes;
        bytes.reserve(size);
        std::vector<uint32_t> offsets;
        offsets.reserve(size_t(rows));
        size_t copied = 0;
        for (const auto &chunk : s.chunks) {
            // Freed keys stay resident in the heap of the thread that made
            // them: hand them back now and then, or the copy doubles the peak.
            if (++copied % 16 == 0)
                trimHeap();
            auto &made = chunk->bytes[size_t(column)];
            auto &madeOffsets = chunk->offsets[size_t(column)];
            const uint32_t base = uint32_t(bytes.size());
            for (qsizetype row = 0; row < chunk->rows(); ++row)
                offsets.push_back(base + madeOffsets[size_t(row)]);
            bytes.insert(
                bytes.end(), made.begin(), made.begin() + ptrdiff_t(chunk->keyBytes(column)));
            // Fresh vectors free the memory; clear() would keep it.
            made = std::vector<uint8_t>();
            madeOffsets = std::vector<uint32_t>();
        }
        keys[size_t(column)]
            = std::make_shared<const SortKeys>(std::move(bytes), std::move(offsets));
    }
    s.chunks.clear();
    return keys;
}
