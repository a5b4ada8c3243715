// SPDX-License-Identifier: MIT
#include "core/sortindex.h"

#include "core/collation.h"
#include "core/filerows.h"

#include <algorithm>
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
    // Sorts within index, which holds size entries whose prefixes are those of
    // the first keys at depth 0.
    PrefixSorter(std::span<const SortKeys *const> keys, const FileRows &rows,
        Qt::SortOrder direction, Entry *index, size_t size)
        : m_keys(keys)
        , m_rows(rows)
        , m_descending(direction == Qt::DescendingOrder)
        , m_flip(m_descending ? ~uint64_t(0) : 0)
        , m_index(index)
        , m_buffer(new Entry[size])
    { }

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
    const std::unique_ptr<Entry[]> m_buffer; // scatter target, entry for entry beside m_index
};

} // namespace

void sortRows(std::vector<uint32_t> &order, std::span<const SortKeys *const> keys,
    const FileRows &rows, Qt::SortOrder direction)
{
    const size_t n = order.size();
    const SortKeys &first = *keys.front();
    const std::unique_ptr<Entry[]> index(new Entry[n]);
    for (size_t i = 0; i < n; ++i) {
        if (i + PrefetchDistance < n)
            prefetch(first.key(order[i + PrefetchDistance]));
        index[i] = Entry { first.prefix(order[i]), order[i] };
    }

    PrefixSorter(keys, rows, direction, index.get(), n).sort(index.get(), index.get() + n, 0, 0);

    for (size_t i = 0; i < n; ++i)
        order[i] = index[i].row;
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
