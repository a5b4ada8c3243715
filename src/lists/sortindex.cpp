#include "lists/sortindex.h"

#include "lists/collation.h"

#include <algorithm>
#include <cstring>

namespace {

struct Entry
{
    uint64_t prefix;
    uint32_t row;
};

// Three-way comparison of two rows' keys: the prefix first, the key only on a tie.
int compareKeys(const SortKeys &keys, const Entry &a, const Entry &b)
{
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix ? -1 : 1;
    // Keys hold no zero byte but their end: a zero in the prefix means both ended there.
    if ((a.prefix & 0xFF) == 0)
        return 0;
    return std::strcmp(keys.key(a.row) + 8, keys.key(b.row) + 8);
}

} // namespace

void stableSortRows(std::vector<uint32_t> &order, const SortKeys &keys, Qt::SortOrder direction)
{
    std::vector<Entry> index;
    index.reserve(order.size());
    for (const uint32_t row : order)
        index.push_back(Entry { keys.prefix(row), row });

    auto less = [&keys](const Entry &a, const Entry &b) { return compareKeys(keys, a, b) < 0; };
    if (direction == Qt::AscendingOrder)
        std::stable_sort(index.begin(), index.end(), less);
    else
        std::stable_sort(index.begin(), index.end(),
                         [&less](const Entry &a, const Entry &b) { return less(b, a); });

    for (size_t i = 0; i < index.size(); ++i)
        order[i] = index[i].row;
}

void reverseSortedRows(std::vector<uint32_t> &order, const SortKeys &keys)
{
    std::reverse(order.begin(), order.end());
    // Each run of equal keys is now backwards; turn it round again.
    auto entry = [&keys](uint32_t row) { return Entry { keys.prefix(row), row }; };
    auto runStart = order.begin();
    for (auto it = order.begin(); it != order.end(); ++it) {
        if (compareKeys(keys, entry(*runStart), entry(*it)) != 0) {
            std::reverse(runStart, it);
            runStart = it;
        }
    }
    std::reverse(runStart, order.end());
}
