// SPDX-License-Identifier: MIT
#pragma once

#include "core/filerows.h"
#include "core/roworder.h"

#include <QtCore/qnamespace.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class SortKeys;

// The file list's columns; rows sort by either, and sort keys are made per column.
enum Column { NameColumn, ExtensionColumn, ColumnCount };

// How the file list is ordered: sorting on or off, by which column, which way.
struct SortState
{
    bool sorted = false;
    int column = NameColumn;
    Qt::SortOrder order = Qt::AscendingOrder;
    bool operator==(const SortState &) const = default;
};

// What a click on a column header does to the sort state, in this order:
// sorting goes on; the direction turns round, one direction for the whole
// list whichever header was clicked; the column becomes the clicked header's
// index - 1 (headers are numbered from 1: "File Name" 1, "Extension" 2).
// The window's header clicks and the tests go through here; quillmere-list
// asks for the state it wants directly, which is the state these clicks end
// in, whatever came before them.
SortState headerClicked(SortState state, int columnHeader);

// Per column, the sort keys of every row, or null where not made.
using ColumnKeys = std::array<std::shared_ptr<const SortKeys>, ColumnCount>;

// The rows in display order with the sort keys made for them so far: what a
// rebuild or a sort prepares away from the window's thread and the model then
// takes over in one swap. Rows, order and keys are shared by every copy and
// never change while shared, so a copy costs a few references (an undo step,
// a save, a search on a worker) and a worker may read them while the model
// shows them.
struct FileArrangement
{
    std::shared_ptr<const FileRows> rows = std::make_shared<const FileRows>();
    RowOrder order; // display position -> row in *rows
    ColumnKeys keys; // made on first use
    // Rows holding paths from sub-folders sort by folder first: the order of
    // their folders (see folderOrderKeys()), made on first use.
    std::shared_ptr<const SortKeys> folderKeys;
    SortState state;
    // Most sort key bytes per column; lower in tests. Past it the rows are
    // left unsorted and state.sorted turns false.
    qsizetype keyLimit = UINT32_MAX;
    // Threads that make keys and sort share out among; 0 lets sortWorkers()
    // choose by the rows and the cores. Either way the order is the same.
    int workers = 0;
};

// Asked now and then during long work; true abandons it.
using StopRequested = std::function<bool()>;

// Rows in listing order, then ordered as state says; out's key limit holds.
// Keys already made for these rows (see KeysAhead) are used, the rest made.
// Runs on any thread. Returns false, with the arrangement unusable, when stopped.
bool arrangeRows(FileArrangement &out, FileRows rows, const SortState &state,
    const StopRequested &stopped = {}, ColumnKeys keys = {});

// Rows listed again, arranged as state says, sharing like's rows and keys
// when they are the same rows, and its order too when it is the one state
// gives: a list read again unchanged costs nothing more. False, out as it
// was, when the rows differ. O(rows' bytes) to compare.
bool arrangeAsBefore(FileArrangement &out, const FileRows &rows, const SortState &state,
    const FileArrangement &like);

// Orders the arrangement's rows as `to` says. The sorted order depends on the
// column and direction alone (see sortRows()), never on the order before:
// "File Name" by name, "Extension" by extension and then name, each then by
// the name's bytes, and the same name by list position. Rows listed from
// sub-folders go folder by folder first (see folderOrderKeys()), each
// folder's rows ordered so by their own file names. Switching sorting
// off keeps the order. Runs on any thread; returns false, the
// arrangement unusable, when stopped.
bool changeSortState(
    FileArrangement &files, const SortState &to, const StopRequested &stopped = {});

// The display positions of these rows in files, ascending. O(rows + order).
std::vector<uint32_t> displayPositions(
    const FileArrangement &files, const std::vector<uint32_t> &rows);

// Rows taken out of the display order by one removal, kept so that it can be
// undone and done again. Only the order changes: the rows' bytes and keys stay.
struct RemovedRows
{
    // The listing the rows belong to; a rebuild makes the record stale.
    std::shared_ptr<const FileRows> rows;
    // The order they were taken from, and their display positions in it, ascending.
    SortState state;
    std::vector<uint32_t> positions;
    // The rows that stood at those positions.
    std::vector<uint32_t> taken;
};

// Takes the row at a display position out of files. O(n).
RemovedRows takeRowAt(FileArrangement &files, qsizetype position);

// Takes out the rows whose extension is like `extension`, or with keep those
// whose extension is not. Extensions are alike when their caseFolded() bytes
// are equal: letter case aside, bytes that are not UTF-8 matching only
// themselves, as quillmere-list's --ignore-case matches names. O(n), in
// display order. Returns nothing taken when stopped.
RemovedRows takeByExtension(
    FileArrangement &files, QByteArrayView extension, bool keep, const StopRequested &stopped = {});

// Takes removed rows out once more, wherever the order holds them now, and
// notes their new positions in removed: what redoing a removal does. O(n).
void takeAgain(FileArrangement &files, RemovedRows &removed);

// Puts removed rows back: at their positions when the order is still the one
// they were taken from, in O(n); sorted in among the others when the sort
// changed since, in O(n log n). Returns false, files unusable, when stopped.
bool putBack(FileArrangement &files, const RemovedRows &removed, const StopRequested &stopped = {});
