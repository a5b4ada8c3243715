#pragma once

#include "lists/filerows.h"

#include <QAbstractTableModel>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Collator;
class SortKeys;

// The file list: one row per file, "File Name" and "Extension".
//
// Rows are kept as the bytes the file system gave and shown decoded, so a name
// that is not valid UTF-8 shows with replacement characters yet is written
// back unchanged. While sorting is on, the rows are kept in the order of the
// sort column and direction; every change of the sort state re-sorts, stably.
class FileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, ExtensionColumn, ColumnCount };

    explicit FileListModel(QObject *parent = nullptr);
    ~FileListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // Replaces every row in one model reset. While sorting is on the new rows
    // are sorted as one batch: O(n log n), with one sort key computed per row.
    // Returns false when their sort keys would pass SortKeys::MaxBytes: the
    // rows then stay in listing order and sorting is switched off.
    bool setRows(FileRows rows);
    void clear() { setRows(FileRows()); }

    // The name and extension of the row at a display position, as bytes. O(1).
    QByteArrayView name(int row) const { return m_rows.name(m_order[size_t(row)]); }
    QByteArrayView extension(int row) const { return m_rows.extension(m_order[size_t(row)]); }

    bool isSorted() const { return m_sorted; }
    int sortKey() const { return m_sortKey; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // Each setter re-sorts when it changes how the rows are ordered. They
    // fail as setRows() does, leaving the rows in place and sorting off.
    bool setSorted(bool sorted);
    bool setSortKey(int column);
    bool setSortOrder(Qt::SortOrder order);
    // A lower limit of sort key bytes, so that tests can reach it.
    void setSortKeyLimit(qsizetype bytes);

    // How a name's bytes are shown: UTF-8 with U+FFFD for invalid bytes; C0
    // controls and DEL as their Control Pictures; C1 controls, the line and
    // paragraph separators and the directional formatting characters as
    // "<U+202E>". So every name keeps to one line and reads in the order of
    // its bytes.
    static QString displayText(QByteArrayView bytes);

    // Bytes held by rows, order and sort keys, for the benchmark.
    qsizetype memoryUse() const;

private:
    // Null when the keys would pass their limit.
    const SortKeys *sortKeys(int column);
    enum Resort { FullSort, ReverseOnly };
    bool sortRows(Resort how = FullSort);

    FileRows m_rows;
    std::vector<uint32_t> m_order; // display position -> row in m_rows
    std::unique_ptr<Collator> m_collator;
    std::array<std::unique_ptr<SortKeys>, ColumnCount> m_keys; // built on first use, per rebuild
    bool m_sorted = false;
    int m_sortKey = NameColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    qsizetype m_keyLimit;
};
