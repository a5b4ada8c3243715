// SPDX-License-Identifier: MIT
#include "core/filelistmodel.h"

#include "core/collation.h"
#include "core/displaytext.h"
#include "core/fileselection.h"
#include "core/workerpool.h"

#include <algorithm>
#include <numeric>
#include <utility>

FileListModel::FileListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    // Heard before the selection hears of it, which drops the rows from itself.
    connect(this, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex &, int first, int last) { m_selection->rowsGoing(first, last); });
    m_selection = new FileSelection(this);
}

FileListModel::~FileListModel() = default;

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
    std::vector<uint32_t> &order = m_files.order.edit();
    order.erase(order.begin() + row, order.begin() + row + count);
    endRemoveRows();
    return true;
}

void FileListModel::setSortKeyLimit(qsizetype bytes)
{
    m_files.keyLimit = bytes;
    m_files.keys = {}; // made again under the new limit when next needed
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
        std::vector<uint32_t> &order = m_files.order.edit();
        order.insert(order.begin() + position, removed.taken[i]);
        endInsertRows();
    }
}

void FileListModel::setArrangement(FileArrangement files)
{
    // The very rows and order shown: nothing moves (a list read again unchanged).
    if (files.rows == m_files.rows && files.order.shares(m_files.order)) {
        letGo(std::exchange(m_files, std::move(files)));
        return;
    }
    // A layout change may not change the number of rows.
    if (files.rows != m_files.rows || files.order.size() != m_files.order.size()) {
        beginResetModel();
        FileArrangement old = std::exchange(m_files, std::move(files));
        endResetModel();
        m_selection->keepAfterReset();
        letGo(std::move(old));
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    // Selection and current row stay with their rows, not their positions.
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> rowsBefore;
    rowsBefore.reserve(size_t(before.size()));
    for (const QModelIndex &index : before)
        rowsBefore.push_back(m_files.order[size_t(index.row())]);

    FileArrangement old = std::exchange(m_files, std::move(files));

    if (!before.isEmpty()) {
        const std::vector<uint32_t> position = positionsOf(m_files.order, rowsBefore);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after.push_back(index(int(position[size_t(i)]), before[i].column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    letGo(std::move(old));
}

std::vector<uint32_t> FileListModel::positionsOf(
    const RowOrder &order, const std::vector<uint32_t> &rows)
{
    std::vector<uint32_t> positions(rows.size());
    // A current row and a selection or two: one pass over the order, rather
    // than a table of every row's position (40 MiB at ten million rows,
    // written out of order).
    if (rows.size() <= 8) {
        for (size_t position = 0; position < order.size(); ++position)
            for (size_t i = 0; i < rows.size(); ++i)
                if (order[position] == rows[i])
                    positions[i] = uint32_t(position);
        return positions;
    }
    std::vector<uint32_t> positionOfRow(order.size());
    for (size_t position = 0; position < order.size(); ++position)
        positionOfRow[order[position]] = uint32_t(position);
    for (size_t i = 0; i < rows.size(); ++i)
        positions[i] = positionOfRow[rows[i]];
    return positions;
}

void FileListModel::letGo(FileArrangement old)
{
    // Freeing hundreds of MiB of rows and keys takes tens of milliseconds;
    // the window's thread does not wait for it.
    if (old.order.size() < 100000)
        return;
    auto held = std::make_shared<FileArrangement>(std::move(old));
    runOnWorker([held]() mutable { held.reset(); });
}

void FileListModel::extendArrangement(FileArrangement files)
{
    Q_ASSERT(files.rows->size() >= m_files.rows->size()
        && m_files.order.size() == size_t(m_files.rows->size()));
    const size_t before = m_files.order.size(), after = files.order.size();
    if (after > before) {
        beginInsertRows(QModelIndex(), int(before), int(after - 1));
        // The rows shown so far are the same names in the new rows.
        m_files.rows = files.rows;
        std::vector<uint32_t> &order = m_files.order.edit();
        order.resize(after);
        std::iota(order.begin() + ptrdiff_t(before), order.end(), uint32_t(before));
        endInsertRows();
    }
    if (files.order == m_files.order) {
        // Rows in listing order: nothing moves.
        letGo(std::exchange(m_files, std::move(files)));
        return;
    }
    m_files.rows = files.rows;
    setArrangement(std::move(files));
}

QString FileListModel::displayText(QByteArrayView bytes)
{
    return ::displayText(bytes);
}

qsizetype FileListModel::memoryUse() const
{
    qsizetype bytes = m_files.rows->memoryUse() + qsizetype(m_files.order.memoryUse());
    for (const auto &keys : m_files.keys)
        bytes += keys ? keys->memoryUse() : 0;
    bytes += m_files.folderKeys ? m_files.folderKeys->memoryUse() : 0;
    return bytes;
}
