// SPDX-License-Identifier: MIT
#include "core/arrangement.h"

#include "core/casefolding.h"
#include "core/collation.h"
#include "core/folderorder.h"
#include "core/parallel.h"
#include "core/sortindex.h"

#include <QHash>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

int workersFor(const FileArrangement &files)
{
    return files.workers > 0 ? files.workers : sortWorkers(files.rows->size());
}

// The keys of a column, made now if not yet; null when stopped half-way or
// when they would pass the arrangement's limit, which *tooLarge tells.
const SortKeys *keysFor(
    FileArrangement &files, int column, const StopRequested &stopped, bool *tooLarge)
{
    auto &keys = files.keys[size_t(column)];
    if (!keys) {
        // One per call: a collator is not to be shared between threads.
        Collator collator;
        auto made = std::make_shared<const SortKeys>(*files.rows, column == ExtensionColumn,
            collator, stopped, files.keyLimit, workersFor(files));
        *tooLarge = made->tooLarge();
        if (!made->complete())
            return nullptr;
        keys = std::move(made);
    }
    return keys.get();
}

// The keys that order a column: the folders' where rows hold paths, the
// column's own, then the name's for rows of equal extension. Empty when
// stopped half-way or past the arrangement's limit, which *tooLarge tells.
std::vector<const SortKeys *> sortKeysFor(
    FileArrangement &files, int column, const StopRequested &stopped, bool *tooLarge)
{
    Q_ASSERT(column == NameColumn || column == ExtensionColumn);
    std::vector<const SortKeys *> keys;
    if (files.rows->hasPaths()) {
        if (!files.folderKeys)
            files.folderKeys = folderOrderKeys(*files.rows);
        *tooLarge = !files.folderKeys;
        if (!files.folderKeys)
            return {};
        keys.push_back(files.folderKeys.get());
    }
    for (const int each : { column, int(NameColumn) }) {
        const SortKeys *made = keysFor(files, each, stopped, tooLarge);
        if (!made)
            return {};
        keys.push_back(made);
        if (each == NameColumn)
            break;
    }
    return keys;
}

// Takes out of the order the rows for which take(row) holds, noting them and
// their positions. O(n) calls of take. Stopped, it takes nothing and
// returns false.
template<typename Take>
bool takeWhere(
    FileArrangement &files, RemovedRows &removed, Take take, const StopRequested &stopped = {})
{
    removed = { files.rows, files.state, {}, {} };
    const RowOrder &order = files.order;
    std::vector<uint32_t> kept;
    kept.reserve(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        if ((i & 0xffff) == 0xffff && stopped && stopped()) {
            removed = { files.rows, files.state, {}, {} };
            return false;
        }
        if (take(order[i])) {
            removed.positions.push_back(uint32_t(i));
            removed.taken.push_back(order[i]);
        } else {
            kept.push_back(order[i]);
        }
    }
    files.order = std::move(kept);
    return true;
}

} // namespace

SortState headerClicked(SortState state, int columnHeader)
{
    state.sorted = true;
    state.order = state.order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    state.column = int(int16_t(columnHeader - 1));
    return state;
}

bool arrangeRows(FileArrangement &out, FileRows rows, const SortState &state,
    const StopRequested &stopped, ColumnKeys made)
{
    rows.squeeze(); // held for as long as the list shows them
    out.rows = std::make_shared<const FileRows>(std::move(rows));
    out.keys = std::move(made);
    out.folderKeys = nullptr;
    out.state = state;
    std::vector<uint32_t> order(size_t(out.rows->size()));
    std::iota(order.begin(), order.end(), 0u);
    out.order = std::move(order);
    if (!state.sorted)
        return true;
    bool tooLarge = false;
    const auto keys = sortKeysFor(out, state.column, stopped, &tooLarge);
    if (tooLarge) {
        out.state.sorted = false; // listed in full, just not sorted
        return true;
    }
    if (keys.empty())
        return false;
    sortRows(out.order.edit(), keys, *out.rows, state.order, workersFor(out));
    return true;
}

bool arrangeAsBefore(
    FileArrangement &out, const FileRows &rows, const SortState &state, const FileArrangement &like)
{
    if (!like.rows || like.rows->size() != rows.size() || !(*like.rows == rows))
        return false;
    out.rows = like.rows;
    out.keys = like.keys;
    out.folderKeys = like.folderKeys;
    // Every row shown, and ordered as state orders them: not after a removal,
    // nor unsorted once sorted.
    const RowOrder &order = like.order;
    const bool listingOrder = std::is_sorted(order.begin(), order.end());
    if (like.state == state && order.size() == size_t(rows.size())
        && (state.sorted || listingOrder)) {
        out.order = order;
        out.state = state;
        return true;
    }
    std::vector<uint32_t> listed(size_t(rows.size()));
    std::iota(listed.begin(), listed.end(), 0u);
    out.order = std::move(listed);
    out.state = SortState {};
    return changeSortState(out, state);
}

bool changeSortState(FileArrangement &files, const SortState &to, const StopRequested &stopped)
{
    const SortState from = files.state;
    files.state = to;
    if (!to.sorted)
        return true; // switching sorting off leaves the rows where they are
    // The rows are sorted by this column already: the order for the other
    // direction is theirs turned round, in O(n).
    if (from.sorted && from.column == to.column) {
        if (from.order != to.order)
            reverseSortedRows(files.order.edit(), *files.rows);
        return true;
    }
    bool tooLarge = false;
    const auto keys = sortKeysFor(files, to.column, stopped, &tooLarge);
    if (tooLarge) {
        files.state.sorted = false; // the rows stay where they are
        return true;
    }
    if (keys.empty())
        return false;
    sortRows(files.order.edit(), keys, *files.rows, to.order, workersFor(files));
    return true;
}

std::vector<uint32_t> displayPositions(
    const FileArrangement &files, const std::vector<uint32_t> &rows)
{
    std::vector<bool> wanted(size_t(files.rows->size()));
    for (const uint32_t row : rows)
        wanted[row] = true;
    std::vector<uint32_t> positions;
    positions.reserve(rows.size());
    for (size_t position = 0; position < files.order.size(); ++position) {
        if (wanted[files.order[position]])
            positions.push_back(uint32_t(position));
    }
    return positions;
}

RemovedRows takeRowAt(FileArrangement &files, qsizetype position)
{
    RemovedRows removed { files.rows, files.state, { uint32_t(position) },
        { files.order[size_t(position)] } };
    std::vector<uint32_t> &order = files.order.edit();
    order.erase(order.begin() + position);
    return removed;
}

RemovedRows takeByExtension(
    FileArrangement &files, QByteArrayView extension, bool keep, const StopRequested &stopped)
{
    const QByteArray wanted = caseFolded(extension);
    // Lists hold few extensions, mostly in runs: each is folded once.
    QHash<QByteArrayView, bool> alike;
    std::optional<QByteArrayView> last;
    bool lastAlike = false;
    const FileRows &rows = *files.rows;
    RemovedRows removed;
    takeWhere(
        files, removed,
        [&](uint32_t row) {
            const QByteArrayView own = rows.extension(row);
            if (!last || own != *last) {
                auto found = alike.constFind(own);
                if (found == alike.cend())
                    found = alike.insert(own, caseFolded(own) == wanted);
                last = own;
                lastAlike = *found;
            }
            return lastAlike != keep;
        },
        stopped);
    return removed;
}

void takeAgain(FileArrangement &files, RemovedRows &removed)
{
    std::vector<bool> taken(size_t(files.rows->size()));
    for (const uint32_t row : removed.taken)
        taken[row] = true;
    takeWhere(files, removed, [&taken](uint32_t row) { return bool(taken[row]); });
}

bool putBack(FileArrangement &files, const RemovedRows &removed, const StopRequested &stopped)
{
    Q_ASSERT(removed.rows == files.rows);
    const RowOrder &order = files.order;
    const size_t size = order.size() + removed.taken.size();
    if (files.state == removed.state) {
        // Nothing moved since: each row goes back to its own position.
        std::vector<uint32_t> merged;
        merged.reserve(size);
        size_t next = 0, kept = 0;
        for (size_t position = 0; position < size; ++position) {
            if (next < removed.positions.size() && removed.positions[next] == position)
                merged.push_back(removed.taken[next++]);
            else
                merged.push_back(order[kept++]);
        }
        files.order = std::move(merged);
        return true;
    }
    std::vector<uint32_t> &all = files.order.edit();
    all.insert(all.end(), removed.taken.begin(), removed.taken.end());
    if (!files.state.sorted)
        return true; // unsorted since: they come back at the end
    // The sorted order depends on the rows alone, so sorting them in again
    // gives the order they would have had all along.
    const SortState to = files.state;
    files.state.sorted = false;
    return changeSortState(files, to, stopped);
}
