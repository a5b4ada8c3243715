// SPDX-License-Identifier: MIT
#include "core/sortindex.h"

#include "core/collation.h"

#include <algorithm>
#include <cstring>
#include <memory>

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

// A stable sort by key that compares eight key bytes at a time, all of them
// held in the index: runs of rows whose eight bytes tie are sorted again on
// the next eight, so each key is read once per depth instead of once per
// comparison, and the comparisons themselves are integer ones.
class PrefixSorter
{
public:
    // Sorts within index, which holds size entries.
    PrefixSorter(const SortKeys &keys, Qt::SortOrder direction, Entry *index, size_t size)
        : m_keys(keys)
        , m_flip(direction == Qt::DescendingOrder ? ~uint64_t(0) : 0)
        , m_index(index)
        , m_buffer(new Entry[size])
    { }

    void sort(Entry *first, Entry *last, size_t depth)
    {
        sortByPrefix(first, last);
        for (Entry *run = first; run != last;) {
            Entry *end = run + 1;
            while (end != last && end->prefix == run->prefix)
                ++end;
            // Keys hold no zero byte but their end: a zero in the last byte
            // means the tied keys ended, and are equal.
            if (end - run > 1 && (run->prefix & 0xFF) != 0) {
                for (Entry *e = run; e != end; ++e) {
                    if (size_t(end - e) > PrefetchDistance)
                        prefetch(m_keys.key(e[PrefetchDistance].row) + depth + 8);
                    e->prefix = m_keys.prefix(e->row, depth + 8);
                }
                sort(run, end, depth + 8);
            }
            run = end;
        }
    }

private:
    uint64_t order(uint64_t prefix) const { return prefix ^ m_flip; }

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
        Entry *to = m_buffer.get() + (first - m_index);
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

    const SortKeys &m_keys;
    const uint64_t m_flip;
    Entry *const m_index;
    const std::unique_ptr<Entry[]> m_buffer; // scatter target, entry for entry beside m_index
};

} // namespace

void stableSortRows(std::vector<uint32_t> &order, const SortKeys &keys, Qt::SortOrder direction)
{
    const size_t n = order.size();
    const std::unique_ptr<Entry[]> index(new Entry[n]);
    for (size_t i = 0; i < n; ++i) {
        if (i + PrefetchDistance < n)
            prefetch(keys.key(order[i + PrefetchDistance]));
        index[i] = Entry { keys.prefix(order[i]), order[i] };
    }

    PrefixSorter(keys, direction, index.get(), n).sort(index.get(), index.get() + n, 0);

    for (size_t i = 0; i < n; ++i)
        order[i] = index[i].row;
}

void reverseSortedRows(std::vector<uint32_t> &order, const SortKeys &keys)
{
    std::reverse(order.begin(), order.end());
    // Each run of equal keys is now backwards; turn it round again. Sorted
    // rows are equal to their run's first exactly when equal to the row before.
    const size_t n = order.size();
    size_t runStart = 0;
    for (size_t i = 1; i < n; ++i) {
        if (i + PrefetchDistance < n)
            prefetch(keys.key(order[i + PrefetchDistance]));
        if (std::strcmp(keys.key(order[i - 1]), keys.key(order[i])) != 0) {
            std::reverse(order.begin() + ptrdiff_t(runStart), order.begin() + ptrdiff_t(i));
            runStart = i;
        }
    }
    if (n > 0)
        std::reverse(order.begin() + ptrdiff_t(runStart), order.end());
}
