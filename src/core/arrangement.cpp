// SPDX-License-Identifier: MIT
#include "core/arrangement.h"

#include "core/collation.h"
#include "core/sortindex.h"

#include <numeric>

namespace {

// FileListModel::NameColumn and ExtensionColumn
constexpr int NameKey = 0, ExtensionKey = 1;

// The keys of a column, made now if not yet; null when stopped half-way or
// when they would pass the arrangement's limit, which *tooLarge tells.
const SortKeys *keysFor(
    FileArrangement &files, int column, const StopRequested &stopped, bool *tooLarge)
{
    auto &keys = files.keys[size_t(column)];
    if (!keys) {
        // One per call: a collator is not to be shared between threads.
        Collator collator;
        auto made = std::make_shared<const SortKeys>(
            *files.rows, column == ExtensionKey, collator, stopped, files.keyLimit);
        *tooLarge = made->tooLarge();
        if (!made->complete())
            return nullptr;
        keys = std::move(made);
    }
    return keys.get();
}

// The keys that order a column: its own, then the name's for rows of equal
// extension. Empty when stopped half-way or past the arrangement's limit,
// which *tooLarge tells.
std::vector<const SortKeys *> sortKeysFor(
    FileArrangement &files, int column, const StopRequested &stopped, bool *tooLarge)
{
    Q_ASSERT(column == NameKey || column == ExtensionKey);
    std::vector<const SortKeys *> keys;
    for (const int key : { column, NameKey }) {
        const SortKeys *made = keysFor(files, key, stopped, tooLarge);
        if (!made)
            return {};
        keys.push_back(made);
        if (key == NameKey)
            break;
    }
    return keys;
}

} // namespace

SortState headerClicked(SortState state, int columnHeader)
{
    state.sorted = true;
    state.order = state.order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    state.key = int(int16_t(columnHeader - 1));
    return state;
}

bool arrangeRows(
    FileArrangement &out, FileRows rows, const SortState &state, const StopRequested &stopped)
{
    out.rows = std::make_shared<const FileRows>(std::move(rows));
    out.keys = {};
    out.state = state;
    out.order.resize(size_t(out.rows->size()));
    std::iota(out.order.begin(), out.order.end(), 0u);
    if (!state.sorted)
        return true;
    bool tooLarge = false;
    const auto keys = sortKeysFor(out, state.key, stopped, &tooLarge);
    if (tooLarge) {
        out.state.sorted = false; // listed in full, just not sorted
        return true;
    }
    if (keys.empty())
        return false;
    sortRows(out.order, keys, *out.rows, state.order);
    return true;
}

bool changeSortState(FileArrangement &files, const SortState &to, const StopRequested &stopped)
{
    const SortState from = files.state;
    files.state = to;
    if (!to.sorted)
        return true; // switching sorting off leaves the rows where they are
    // The rows are sorted by this column already: the order for the other
    // direction is theirs turned round, in O(n).
    if (from.sorted && from.key == to.key) {
        if (from.order != to.order)
            reverseSortedRows(files.order, *files.rows);
        return true;
    }
    bool tooLarge = false;
    const auto keys = sortKeysFor(files, to.key, stopped, &tooLarge);
    if (tooLarge) {
        files.state.sorted = false; // the rows stay where they are
        return true;
    }
    if (keys.empty())
        return false;
    sortRows(files.order, keys, *files.rows, to.order);
    return true;
}
