// SPDX-License-Identifier: MIT
#include "core/fileselection.h"

#include "core/filelistmodel.h"

#include <algorithm>

FileSelection::FileSelection(FileListModel *files)
    : QItemSelectionModel(files, files)
    , m_files(files)
{
    const auto changed = [this] { ++m_changes; };
    connect(this, &QItemSelectionModel::selectionChanged, this, changed);
    connect(this, &QItemSelectionModel::currentChanged, this, changed);
    // A removed row's place goes to the row after it, or to the new last row.
    connect(files, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (const int position = std::exchange(m_removing, -1); position >= 0)
            selectAfterRemoval(position);
    });
    connect(files, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const std::vector<uint32_t> selected = selectedPositions();
        const int row = selected.empty() ? -1 : int(selected.front());
        m_kept = { m_files->arrangement().rows.get(), row,
            row < 0 ? 0 : m_files->arrangement().order[size_t(row)] };
    });
}

void FileSelection::keepAfterReset()
{
    // The same rows taken out or put back in bulk: the first selected row
    // stays selected, or, gone, the row now in its place is, as after a Remove.
    const FileArrangement &files = m_files->arrangement();
    if (m_kept.position < 0 || m_kept.rows != files.rows.get() || files.order.empty())
        return;
    const auto found = std::find(files.order.begin(), files.order.end(), m_kept.row);
    selectAfterRemoval(
        found != files.order.end() ? int(found - files.order.begin()) : m_kept.position);
}

void FileSelection::rowsGoing(int first, int last)
{
    const std::vector<uint32_t> selected = selectedPositions();
    const int row = selected.empty() ? -1 : int(selected.front());
    m_removing = row >= first && row <= last ? first : -1;
}

void FileSelection::selectAfterRemoval(int position)
{
    const int rows = m_files->rowCount();
    if (rows == 0)
        return;
    const QModelIndex next = m_files->index(std::min(position, rows - 1), 0);
    setCurrentIndex(next, ClearAndSelect | Rows);
    emit placeFound(-1, next.row(), true);
}

std::vector<uint32_t> FileSelection::selectedPositions() const
{
    std::vector<uint32_t> positions;
    for (const QItemSelectionRange &range : selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            positions.push_back(uint32_t(row));
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

void FileSelection::setTopRow(int position)
{
    if (position != topRow())
        m_top = position < 0 ? QModelIndex() : m_files->index(position, 0);
}

PickedPlace FileSelection::place()
{
    m_changesAtPick = m_changes;
    const QModelIndex current = currentIndex();
    return PickedPlace(m_files->arrangement(), selectedPositions(),
        current.isValid() ? current.row() : -1, topRow());
}

void FileSelection::pick(const PickedPlace::Found &found, int how)
{
    const bool add = how & Add;
    QItemSelection rows;
    for (size_t i = 0; i < found.selected.size();) {
        size_t end = i + 1;
        while (end < found.selected.size() && found.selected[end] == found.selected[end - 1] + 1)
            ++end;
        if (rows.size() == MostRuns) {
            rows.erase(rows.begin() + 1, rows.end());
            break;
        }
        rows.select(m_files->index(int(found.selected[i]), 0),
            m_files->index(int(found.selected[end - 1]), 0));
        i = end;
    }
    if (!rows.isEmpty() || !add)
        select(rows, (add ? Select : ClearAndSelect) | Rows);
    if (found.current >= 0)
        setCurrentIndex(
            m_files->index(found.current, std::max(currentIndex().column(), 0)), NoUpdate);
    if (found.top >= 0)
        setTopRow(found.top);
    m_changesAtPick = m_changes;
    emit placeFound(found.top, found.current, how & Show);
}
