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
    if (files.rows != m_files.rows || files.order.size() != m_files.order.size()) {
        beginResetModel();
        FileArrangement old = std::exchange(m_files, std::move(files));
        endResetModel();
        m_selection->keepAfterReset();
        letGo(std::move(old));
        return;
    }
    changeLayout(std::move(files));
}

void FileListModel::changeLayout(FileArrangement files)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selection and current row stay with their rows, not their positions.
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> rowsBefore;
    rowsBefore.reserve(size_t(before.size()));
    for (const QModelIndex &index : before)
        rowsBefore.push_back(m_files.order[size_t(index.row())]);

    FileArrangement old = std::exchange(m_files, std::move(files));

    if (!before.isEmpty()) {
        const std::vector<uint32_t> position
            = positionsOf(m_files.order, rowsBefore, m_files.rows->size());
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
    const RowOrder &order, const std::vector<uint32_t> &rows, qsizetype rowCount)
{
    // A bit a row says which are wanted: one pass over the order then tests
    // a bit a position, rather than writing a table of every row's position
    // (40 MiB at ten million rows, written out of order).
    std::vector<bool> wanted(static_cast<size_t>(rowCount));
    std::vector<std::pair<uint32_t, uint32_t>> byRow; // row, index in rows
    byRow.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        wanted[rows[i]] = true;
        byRow.emplace_back(rows[i], uint32_t(i));
    }
    std::sort(byRow.begin(), byRow.end());
    std::vector<uint32_t> positions(rows.size());
    for (size_t position = 0; position < order.size(); ++position) {
        const uint32_t row = order[position];
        if (!wanted[row])
            continue;
        auto each = std::lower_bound(byRow.begin(), byRow.end(), std::pair { row, uint32_t(0) });
        for (; each != byRow.end() && each->first == row; ++each)
            positions[each->second] = uint32_t(position);
    }
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
    if (m_files.state.sorted || files.state.sorted) {
        // The rows shown take their places among the new ones: one change of
        // the layout, which ends with more rows than it began with.
        changeLayout(std::move(files));
        return;
    }
    // Rows in listing order, before and after: the new ones come at the end,
    // and nothing moves.
    if (after > before)
        beginInsertRows(QModelIndex(), int(before), int(after - 1));
    FileArrangement old = std::exchange(m_files, std::move(files));
    if (after > before)
        endInsertRows();
    letGo(std::move(old));
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
