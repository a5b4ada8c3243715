#include "lists/filelistmodel.h"

#include "lists/collation.h"
#include "lists/sortindex.h"

#include <algorithm>
#include <numeric>

#ifdef __GLIBC__
#include <malloc.h>
#endif

FileListModel::FileListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_keyLimit(SortKeys::MaxBytes)
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
    if (parent.isValid() || row < 0 || count < 1 || count > rowCount() - row)
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    // The row's bytes and keys stay until the next rebuild; only its place goes.
    m_order.erase(m_order.begin() + row, m_order.begin() + row + count);
    endRemoveRows();
    return true;
}

bool FileListModel::setRows(FileRows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_keys = {};
    m_order.resize(size_t(m_rows.size()));
    std::iota(m_order.begin(), m_order.end(), 0u);
    bool sorted = true;
    if (m_sorted) {
        if (const SortKeys *keys = sortKeys(m_sortKey))
            stableSortRows(m_order, *keys, m_sortOrder);
        else
            sorted = m_sorted = false;
    }
    endResetModel();
    return sorted;
}

bool FileListModel::setSorted(bool sorted)
{
    if (sorted == m_sorted)
        return true;
    m_sorted = sorted;
    return sortRows();
}

bool FileListModel::setSortKey(int column)
{
    Q_ASSERT(column >= 0 && column < ColumnCount);
    if (column == m_sortKey)
        return true;
    m_sortKey = column;
    return sortRows();
}

bool FileListModel::setSortOrder(Qt::SortOrder order)
{
    if (order == m_sortOrder)
        return true;
    m_sortOrder = order;
    // The rows are sorted already: turning them round is the same stable sort, in O(n).
    return sortRows(ReverseOnly);
}

void FileListModel::setSortKeyLimit(qsizetype bytes)
{
    m_keyLimit = bytes;
    m_keys = {}; // made again under the new limit when next needed
}

const SortKeys *FileListModel::sortKeys(int column)
{
    if (!m_collator)
        m_collator = std::make_unique<Collator>();
    auto &keys = m_keys[size_t(column)];
    // A failed attempt is kept too, so that clicks do not repeat it.
    if (!keys)
        keys = std::make_unique<SortKeys>(
            m_rows, column == ExtensionColumn, *m_collator, m_keyLimit);
    return keys->isComplete() ? keys.get() : nullptr;
}

bool FileListModel::sortRows(Resort how)
{
    if (!m_sorted)
        return true;
    const SortKeys *keys = sortKeys(m_sortKey);
    if (!keys) {
        m_sorted = false;
        return false;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    // Selection and current row stay with their rows, not their positions.
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> rowsBefore;
    rowsBefore.reserve(size_t(before.size()));
    for (const QModelIndex &index : before)
        rowsBefore.push_back(m_order[size_t(index.row())]);

    if (how == ReverseOnly)
        reverseSortedRows(m_order, *keys);
    else
        stableSortRows(m_order, *keys, m_sortOrder);

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
    return true;
}

namespace {

// Characters that, drawn as they are, would break the line or reorder the
// text around them, so that a name could hide or disguise part of itself:
// C0 and C1 controls (line feed, NEL, ...), the line and paragraph
// separators, and every directional formatting character.
bool isHiddenCharacter(char16_t u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x061C || u == 0x200E || u == 0x200F
        || (u >= 0x2028 && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QString FileListModel::displayText(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes);
    // Nearly every name has none: no copy then, as this runs for every painted cell.
    const auto first = std::find_if(
        text.cbegin(), text.cend(), [](QChar c) { return isHiddenCharacter(c.unicode()); });
    if (first == text.cend())
        return text;

    QString shown;
    shown.reserve(text.size() + 16);
    shown.append(QStringView(text.cbegin(), first));
    for (auto it = first; it != text.cend(); ++it) {
        const char16_t u = it->unicode();
        if (!isHiddenCharacter(u))
            shown.append(*it);
        else if (u < 0x20)
            shown.append(QChar(char16_t(0x2400 + u))); // the Control Pictures block mirrors C0
        else if (u == 0x7F)
            shown.append(QChar(char16_t(0x2421)));
        else // no picture exists for these: name the code point
            shown += QStringLiteral("<U+%1>").arg(uint(u), 4, 16, QChar(u'0')).toUpper();
    }
    return shown;
}

qsizetype FileListModel::memoryUse() const
{
    qsizetype bytes = m_rows.memoryUse() + qsizetype(m_order.capacity() * sizeof(uint32_t));
    for (const auto &keys : m_keys)
        bytes += keys ? keys->memoryUse() : 0;
    return bytes;
}
