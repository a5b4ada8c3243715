// SPDX-License-Identifier: MIT
#include "core/filelistmodel.h"

#include "core/collation.h"
#include "core/displaytext.h"

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

FileListModel::FileListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
#ifdef __GLIBC__
    // Every rebuild and sort allocates and frees buffers of many MiB. glibc
    // raises its mmap threshold to the size of each one freed, so later ones
    // land in the heap and stay resident after they are freed; a fixed
    // threshold hands them back to the system. Once per process.
    [[maybe_unused]] static const bool tuned = mallopt(M_MMAP_THRESHOLD, 256 * 1024) == 1;
#endif
}

FileListModel::~FileListModel() = default;

static_assert(FileListModel::NameColumn == 0 && FileListModel::ExtensionColumn == 1,
    "sort keys are numbered as the columns");

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_files.order.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    switch (index.column()) {
    case NameColumn:
        return displayText(name(index.row()));
    case ExtensionColumn:
        return displayText(extension(index.row()));
    }
    return QVariant();
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return tr("File Name");
    case ExtensionColumn:
        return tr("Extension");
    }
    return QVariant();
}

bool FileListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || count > rowCount() - row)
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    // The row's bytes and keys stay until the next rebuild; only its place goes.
    m_files.order.erase(m_files.order.begin() + row, m_files.order.begin() + row + count);
    endRemoveRows();
    return true;
}

bool FileListModel::setRows(FileRows rows)
{
    FileArrangement files;
    files.keyLimit = m_files.keyLimit;
    arrangeRows(files, std::move(rows), m_files.state);
    const bool sorted = files.state == m_files.state;
    setArrangement(std::move(files));
    return sorted;
}

bool FileListModel::setSorted(bool sorted)
{
    SortState to = m_files.state;
    to.sorted = sorted;
    return setSortState(to);
}

bool FileListModel::setSortColumn(int column)
{
    Q_ASSERT(column >= 0 && column < ColumnCount);
    SortState to = m_files.state;
    to.column = column;
    return setSortState(to);
}

bool FileListModel::setSortOrder(Qt::SortOrder order)
{
    SortState to = m_files.state;
    to.order = order;
    return setSortState(to);
}

void FileListModel::setSortKeyLimit(qsizetype bytes)
{
    m_files.keyLimit = bytes;
    m_files.keys = {}; // made again under the new limit when next needed
}

bool FileListModel::setSortState(const SortState &to)
{
    if (to == m_files.state)
        return true;
    if (!to.sorted) {
        m_files.state = to; // nothing moves
        return true;
    }
    FileArrangement files = m_files;
    changeSortState(files, to);
    const bool sorted = files.state == to;
    setArrangement(std::move(files));
    return sorted;
}

RemovedRows FileListModel::takeRowAt(int position)
{
    beginRemoveRows(QModelIndex(), position, position);
    RemovedRows removed = ::takeRowAt(m_files, position);
    endRemoveRows();
    return removed;
}

void FileListModel::putRowsBack(const RemovedRows &removed)
{
    Q_ASSERT(removed.rows == m_files.rows && removed.state == m_files.state);
    for (size_t i = 0; i < removed.taken.size(); ++i) {
        const int position = int(removed.positions[i]);
        beginInsertRows(QModelIndex(), position, position);
        m_files.order.insert(m_files.order.begin() + position, removed.taken[i]);
        endInsertRows();
    }
}

void FileListModel::setArrangement(FileArrangement files)
{
    // A layout change may not change the number of rows.
    if (files.rows != m_files.rows || files.order.size() != m_files.order.size()) {
        beginResetModel();
        m_files = std::move(files);
        endResetModel();
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    // Selection and current row stay with their rows, not their positions.
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> rowsBefore;
    rowsBefore.reserve(size_t(before.size()));
    for (const QModelIndex &index : before)
        rowsBefore.push_back(m_files.order[size_t(index.row())]);

    m_files = std::move(files);

    if (!before.isEmpty()) {
        std::vector<uint32_t> position(size_t(m_files.rows->size()));
        for (size_t i = 0; i < m_files.order.size(); ++i)
            position[m_files.order[i]] = uint32_t(i);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after.push_back(index(int(position[rowsBefore[size_t(i)]]), before[i].column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString FileListModel::displayText(QByteArrayView bytes)
{
    return ::displayText(bytes);
}

qsizetype FileListModel::memoryUse() const
{
    qsizetype bytes
        = m_files.rows->memoryUse() + qsizetype(m_files.order.capacity() * sizeof(uint32_t));
    for (const auto &keys : m_files.keys)
        bytes += keys ? keys->memoryUse() : 0;
    return bytes;
}
