#include "lists/filelistmodel.h"

#include "lists/collation.h"
#include "lists/sortindex.h"

#include <numeric>

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

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_order.size());
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
        return QStringLiteral("File Name");
    case ExtensionColumn:
        return QStringLiteral("Extension");
    }
    return QVariant();
}

bool FileListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    // The row's bytes and keys stay until the next rebuild; only its place goes.
    m_order.erase(m_order.begin() + row, m_order.begin() + row + count);
    endRemoveRows();
    return true;
}

void FileListModel::setRows(FileRows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_keys = {};
    m_order.resize(size_t(m_rows.size()));
    std::iota(m_order.begin(), m_order.end(), 0u);
    if (m_sorted)
        stableSortRows(m_order, sortKeys(m_sortKey), m_sortOrder);
    endResetModel();
}

void FileListModel::setSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    sortRows();
}

void FileListModel::setSortKey(int column)
{
    Q_ASSERT(column >= 0 && column < ColumnCount);
    if (column == m_sortKey)
        return;
    m_sortKey = column;
    sortRows();
}

void FileListModel::setSortOrder(Qt::SortOrder order)
{
    if (order == m_sortOrder)
        return;
    m_sortOrder = order;
    // The rows are sorted already: turning them round is the same stable sort, in O(n).
    sortRows(ReverseOnly);
}

const SortKeys &FileListModel::sortKeys(int column)
{
    if (!m_collator)
        m_collator = std::make_unique<Collator>();
    auto &keys = m_keys[size_t(column)];
    if (!keys)
        keys = std::make_unique<SortKeys>(m_rows, column == ExtensionColumn, *m_collator);
    return *keys;
}

void FileListModel::sortRows(Resort how)
{
    if (!m_sorted)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    // Selection and current row stay with their rows, not their positions.
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> rowsBefore;
    rowsBefore.reserve(size_t(before.size()));
    for (const QModelIndex &index : before)
        rowsBefore.push_back(m_order[size_t(index.row())]);

    if (how == ReverseOnly)
        reverseSortedRows(m_order, sortKeys(m_sortKey));
    else
        stableSortRows(m_order, sortKeys(m_sortKey), m_sortOrder);

    if (!before.isEmpty()) {
        std::vector<uint32_t> position(size_t(m_rows.size()));
        for (size_t i = 0; i < m_order.size(); ++i)
            position[m_order[i]] = uint32_t(i);
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
    QString text = QString::fromUtf8(bytes);
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20)
            c = QChar(char16_t(0x2400 + u)); // the Control Pictures block mirrors C0
        else if (u == 0x7F)
            c = QChar(char16_t(0x2421));
    }
    return text;
}

qsizetype FileListModel::memoryUse() const
{
    qsizetype bytes = m_rows.memoryUse() + qsizetype(m_order.capacity() * sizeof(uint32_t));
    for (const auto &keys : m_keys)
        bytes += keys ? keys->memoryUse() : 0;
    return bytes;
}
