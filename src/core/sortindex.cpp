// SPDX-License-Identifier: MIT
#include "core/sortindex.h"

#include "core/collation.h"
#include "core/filerows.h"
#include "core/parallel.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <memory>
#include <string_view>

namespace {

struct Entry
{
    uint64_t prefix; // eight key bytes from the depth being sorted on
    uint32_t row;
};

// Rows are visited in display order, their keys anywhere in memory: asking
// for a key this many rows ahead hides most of the cache misses.
constexpr size_t PrefetchDistance = 16;

inline void prefetch(const void *address)
{
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// A sort by key that compares eight key bytes at a time, all of them held in
// the index: runs of rows whose eight bytes tie are sorted again on the next
// eight, so each key is read once per depth instead of once per comparison,
// and the comparisons themselves are integer ones. Rows whose keys are equal
// go on to the next keys, then to their names' bytes and row numbers.
class PrefixSorter
{
public:
    // Sorts within index, whose entries' prefixes are those of the first
    // keys at depth 0, using buffer, as long, entry for entry beside it.
    // Disjoint ranges may be sorted on several threads at once.
    PrefixSorter(std::span<const SortKeys *const> keys, const FileRows &rows,
        Qt::SortOrder direction, Entry *index, Entry *buffer)
        : m_keys(keys)
        , m_rows(rows)
        , m_descending(direction == Qt::DescendingOrder)
        , m_flip(m_descending ? ~uint64_t(0) : 0)
        , m_index(index)
        , m_buffer(buffer)
    { }

    // The entry's place in the order of its depth-0 prefix.
    uint64_t order(uint64_t prefix) const { return prefix ^ m_flip; }

    void sort(Entry *first, Entry *last, size_t level, size_t depth)
    {
        const SortKeys &keys = *m_keys[level];
        sortByPrefix(first, last);
        for (Entry *run = first; run != last;) {
            Entry *end = run + 1;
            while (end != last && end->prefix == run->prefix)
                ++end;
            if (end - run < 2) {
                run = end;
                continue;
            }
            // Keys hold no zero byte but their end: a zero in the last byte
            // means the tied keys ended, and are equal.
            if ((run->prefix & 0xFF) != 0) {
                for (Entry *e = run; e != end; ++e) {
                    if (size_t(end - e) > PrefetchDistance)
                        prefetch(keys.key(e[PrefetchDistance].row) + depth + 8);
                    e->prefix = keys.prefix(e->row, depth + 8);
                }
                sort(run, end, level, depth + 8);
            } else if (level + 1 < m_keys.size()) {
                const SortKeys &next = *m_keys[level + 1];
                for (Entry *e = run; e != end; ++e) {
                    if (size_t(end - e) > PrefetchDistance)
                        prefetch(next.key(e[PrefetchDistance].row));
                    e->prefix = next.prefix(e->row);
                }
                sort(run, end, level + 1, 0);
            } else {
                sortByName(run, end);
            }
            run = end;
        }
    }

private:
    // Stable by prefix alone: insertion-based for short runs, else least
    // significant digit first, one byte a pass, skipping the bytes that all
    // entries share.
    void sortByPrefix(Entry *first, Entry *last)
    {
        const size_t n = size_t(last - first);
        if (n < 2)
            return;
        if (n < RadixMinimum) {
            std::stable_sort(first, last, [this](const Entry &a, const Entry &b) {
                return order(a.prefix) < order(b.prefix);
            });
            return;
        }
        size_t counts[8][256] = {};
        for (Entry *e = first; e != last; ++e) {
            const uint64_t value = order(e->prefix);
            for (int digit = 0; digit < 8; ++digit)
                ++counts[digit][(value >> (8 * digit)) & 0xFF];
        }
        Entry *from = first;
        Entry *to = m_buffer + (first - m_index);
        for (int digit = 0; digit < 8; ++digit) {
            const int shift = 8 * digit;
            size_t *count = counts[digit];
            if (count[(order(first->prefix) >> shift) & 0xFF] == n)
                continue;
            size_t position = 0;
            for (int b = 0; b < 256; ++b) {
                const size_t c = count[b];
                count[b] = position;
                position += c;
            }
            for (Entry *e = from, *end = from + n; e != end; ++e)
                to[count[(order(e->prefix) >> shift) & 0xFF]++] = *e;
            std::swap(from, to);
        }
        if (from != first)
            std::copy(from, from + n, first);
    }

    // Below this many entries a comparison sort beats clearing the counts.
    static constexpr size_t RadixMinimum = 512;

    // Rows whose keys are all equal: by the names' bytes, then the same names
    // by row number, ascending either way. Such runs are short: names equal
    // but for case or invalid bytes, or one name in several folders.
    void sortByName(Entry *first, Entry *last)
    {
        std::sort(first, last, [this](const Entry &a, const Entry &b) {
            const QByteArrayView x = m_rows.name(a.row), y = m_rows.name(b.row);
            const int c = std::string_view(x.data(), size_t(x.size()))
                              .compare(std::string_view(y.data(), size_t(y.size())));
            if (c != 0)
                return m_descending ? c > 0 : c < 0;
            return a.row < b.row;
        });
    }

    const std::span<const SortKeys *const> m_keys;
    const FileRows &m_rows;
    const bool m_descending;
    const uint64_t m_flip;
    Entry *const m_index;
    Entry *const m_buffer; // scatter target, entry for entry beside m_index
};

// The index of `order` at depth 0 for positions [begin, end).
void fillIndex(Entry *index, const std::vector<uint32_t> &order, const SortKeys &first,
    size_t begin, size_t end)
{
    for (size_t i = begin; i < end; ++i) {
        if (i + PrefetchDistance < end)
            prefetch(first.key(order[i + PrefetchDistance]));
        index[i] = Entry { first.prefix(order[i]), order[i] };
    }
}

// Parts of the order by 16 leading bits of the prefix, counted and moved on
// every thread at once; each part is then sorted on its own. The parts are
// in the order's order, so the sorted parts side by side are the sorted whole.
class ParallelSorter
{
public:
    static constexpr int Bits = 16;
    static constexpr size_t Parts = size_t(1) << Bits;

    ParallelSorter(PrefixSorter &sorter, Entry *from, Entry *to, size_t size, int workers)
        : m_sorter(sorter)
        , m_from(from)
        , m_to(to)
        , m_size(size)
        , m_workers(workers)
    { }

    // Returns false, having moved nothing, when all prefixes are equal: no
    // bits to part by.
    bool partition()
    {
        std::vector<uint64_t> low(size_t(m_workers), ~uint64_t(0)), high(size_t(m_workers), 0);
        runWorkers(m_workers, [&](int w) {
            const auto [begin, end] = slice(w);
            for (size_t i = begin; i < end; ++i) {
                const uint64_t value = m_sorter.order(m_from[i].prefix);
                low[size_t(w)] = std::min(low[size_t(w)], value);
                high[size_t(w)] = std::max(high[size_t(w)], value);
            }
        });
        const uint64_t differing = *std::min_element(low.begin(), low.end())
            ^ *std::max_element(high.begin(), high.end());
        if (differing == 0)
            return false;
        // The bits above the highest differing one are the same in every
        // entry: the part is read from there down.
        m_shift = std::max(0, 64 - std::countl_zero(differing) - Bits);

        std::vector<std::vector<uint32_t>> counts(static_cast<size_t>(m_workers));
        runWorkers(m_workers, [&](int w) {
            std::vector<uint32_t> &count = counts[size_t(w)];
            count.assign(Parts, 0);
            const auto [begin, end] = slice(w);
            for (size_t i = begin; i < end; ++i)
                ++count[part(m_from[i])];
        });
        // Each worker's first place in each part; m_starts the parts' own.
        m_starts.assign(Parts + 1, 0);
        size_t position = 0;
        for (size_t p = 0; p < Parts; ++p) {
            m_starts[p] = position;
            for (auto &count : counts) {
                const size_t c = count[p];
                count[p] = uint32_t(position);
                position += c;
            }
        }
        m_starts[Parts] = position;
        runWorkers(m_workers, [&](int w) {
            std::vector<uint32_t> &next = counts[size_t(w)];
            const auto [begin, end] = slice(w);
            for (size_t i = begin; i < end; ++i)
                m_to[next[part(m_from[i])]++] = m_from[i];
        });
        return true;
    }

    // Sorts each part within m_to, runs of neighbouring parts taken in turn
    // by the workers.
    void sortParts()
    {
        // Runs of about a sixteenth of a worker's share: late threads and big
        // parts still even out.
        const size_t runSize = std::max<size_t>(1, m_size / (size_t(m_workers) * 16));
        std::vector<size_t> runs { 0 };
        for (size_t p = 1; p <= Parts; ++p) {
            if (m_starts[p] - m_starts[runs.back()] >= runSize || p == Parts)
                runs.push_back(p);
        }
        std::atomic<size_t> next = 0;
        runWorkers(m_workers, [&](int) {
            for (size_t r; (r = next.fetch_add(1, std::memory_order_relaxed)) + 1 < runs.size();) {
                for (size_t p = runs[r]; p < runs[r + 1]; ++p) {
                    if (m_starts[p + 1] - m_starts[p] > 1)
                        m_sorter.sort(m_to + m_starts[p], m_to + m_starts[p + 1], 0, 0);
                }
            }
        });
    }

    // Positions [begin, end) that worker w counts and moves.
    std::pair<size_t, size_t> slice(int w) const
    {
        return { m_size * size_t(w) / size_t(m_workers),
            m_size * size_t(w + 1) / size_t(m_workers) };
    }

private:
    size_t part(const Entry &e) const
    {
        return size_t(m_sorter.order(e.prefix) >> m_shift) & (Parts - 1);
    }

    PrefixSorter &m_sorter;
    Entry *const m_from;
    Entry *const m_to;
    const size_t m_size;
    const int m_workers;
    int m_shift = 0;
    std::vector<size_t> m_starts;
};

} // namespace

void sortRows(std::vector<uint32_t> &order, std::span<const SortKeys *const> keys,
    const FileRows &rows, Qt::SortOrder direction, int workers)
{
    const size_t n = order.size();
    const SortKeys &first = *keys.front();
    const std::unique_ptr<Entry[]> index(new Entry[n]), buffer(new Entry[n]);
    if (workers <= 1) {
        fillIndex(index.get(), order, first, 0, n);
        PrefixSorter(keys, rows, direction, index.get(), buffer.get())
            .sort(index.get(), index.get() + n, 0, 0);
        for (size_t i = 0; i < n; ++i)
            order[i] = index[i].row;
        return;
    }

    // Parted from index into buffer, then sorted there with index to scatter into.
    PrefixSorter sorter(keys, rows, direction, buffer.get(), index.get());
    ParallelSorter parts(sorter, index.get(), buffer.get(), n, workers);
    runWorkers(workers, [&](int w) {
        const auto [begin, end] = parts.slice(w);
        fillIndex(index.get(), order, first, begin, end);
    });
    Entry *sorted = buffer.get();
    if (parts.partition()) {
        parts.sortParts();
    } else {
        // Every row's first eight key bytes are equal: nothing to part by.
        PrefixSorter(keys, rows, direction, index.get(), buffer.get())
            .sort(index.get(), index.get() + n, 0, 0);
        sorted = index.get();
    }
    runWorkers(workers, [&](int w) {
        const auto [begin, end] = parts.slice(w);
        for (size_t i = begin; i < end; ++i)
            order[i] = sorted[i].row;
    });
}

void reverseSortedRows(std::vector<uint32_t> &order, const FileRows &rows)
{
    std::reverse(order.begin(), order.end());
    // Everything turns round but the row numbers of equal names, which stay
    // ascending: turn each run of equal names round again.
    const size_t n = order.size();
    size_t runStart = 0;
    for (size_t i = 1; i < n; ++i) {
        if (rows.name(order[i - 1]) != rows.name(order[i])) {
            std::reverse(order.begin() + ptrdiff_t(runStart), order.begin() + ptrdiff_t(i));
            runStart = i;
        }
    }
    if (n > 0)
        std::reverse(order.begin() + ptrdiff_t(runStart), order.end());
}
