// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/filelistmodel.h"

// The model showing rows arranged as state says, as a rebuild leaves it,
// worked out here rather than on a worker; false when the rows have too many
// sort key bytes to sort, and so stay unsorted.
inline bool showRows(FileListModel &model, FileRows rows, const SortState &state)
{
    FileArrangement files;
    files.keyLimit = model.arrangement().keyLimit;
    arrangeRows(files, std::move(rows), state);
    const bool sorted = files.state == state;
    model.setArrangement(std::move(files));
    return sorted;
}

inline bool showRows(FileListModel &model, FileRows rows)
{
    return showRows(model, std::move(rows), model.sortState());
}

// The model's rows ordered as `to` says, as a sort leaves them.
inline bool showSorted(FileListModel &model, const SortState &to)
{
    FileArrangement files = model.arrangement();
    const bool sorted = changeSortState(files, to) && files.state == to;
    model.setArrangement(std::move(files));
    return sorted;
}

// The names of the model's rows, in the order shown.
inline QList<QByteArray> namesOf(const FileListModel &model)
{
    QList<QByteArray> names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.name(row).toByteArray();
    return names;
}

// Sorted by column, ascending unless told.
inline SortState sortedBy(int column, Qt::SortOrder order = Qt::AscendingOrder)
{
    return SortState { true, column, order };
}
