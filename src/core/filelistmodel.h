// SPDX-License-Identifier: MIT
#pragma once

#include "core/filerows.h"

#include <QAbstractTableModel>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class SortKeys;

// How the file list is ordered: sorting on or off, by which column, which way.
struct SortState
{
    bool sorted = false;
    int key = 0; // FileListModel::Column
    Qt::SortOrder order = Qt::AscendingOrder;
    bool operator==(const SortState &) const = default;
};

// The rows in display order with the sort keys made for them so far: what a
// rebuild or a sort prepares away from the window's thread and the model then
// takes over in one swap. Rows and keys never change once made, so a worker
// may read them while the model shows them.
struct FileArrangement
{
    std::shared_ptr<const FileRows> rows = std::make_shared<const FileRows>();
    std::vector<uint32_t> order; // display position -> row in *rows
    std::array<std::shared_ptr<const SortKeys>, 2> keys; // per column, made on first use
    SortState state;
    // Most sort key bytes per column; lower in tests. Past it the rows are
    // left unsorted and state.sorted turns false.
    qsizetype keyLimit = UINT32_MAX;
};

// Asked now and then during long work; true abandons it.
using StopRequested = std::function<bool()>;

// Rows in listing order, then ordered as state says; out's key limit holds.
// Runs on any thread. Returns false, with the arrangement unusable, when stopped.
bool arrangeRows(
    FileArrangement &out, FileRows rows, const SortState &state, const StopRequested &stopped = {});

// One change of the sort state, exactly as the model's setters make it:
// switching sorting on sorts, a new direction turns the sorted rows round, a
// new column sorts stably from the present order; switching it off keeps the
// order. Runs on any thread; returns false, the arrangement unusable, when stopped.
bool changeSortState(
    FileArrangement &files, const SortState &to, const StopRequested &stopped = {});

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
    QByteArrayView name(int row) const { return m_files.rows->name(m_files.order[size_t(row)]); }
    QByteArrayView extension(int row) const
    {
        return m_files.rows->extension(m_files.order[size_t(row)]);
    }

    bool isSorted() const { return m_files.state.sorted; }
    int sortKey() const { return m_files.state.key; }
    Qt::SortOrder sortOrder() const { return m_files.state.order; }
    SortState sortState() const { return m_files.state; }
    // Each setter re-sorts when it changes how the rows are ordered. They
    // fail as setRows() does, leaving the rows in place and sorting off.
    bool setSorted(bool sorted);
    bool setSortKey(int column);
    bool setSortOrder(Qt::SortOrder order);
    // A lower limit of sort key bytes, so that tests can reach it.
    void setSortKeyLimit(qsizetype bytes);

    // The rows, their order and keys; a copy is what a worker sorts or saves from,
    // sharing the rows and keys.
    const FileArrangement &arrangement() const { return m_files; }
    // Takes over an arrangement made by a worker: new rows reset the model;
    // the same rows in a new order keep the selection and current row with their rows.
    void setArrangement(FileArrangement files);

    // How a name's bytes are shown: see displayText() in core/displaytext.h.
    static QString displayText(QByteArrayView bytes);

    // Bytes held by rows, order and sort keys, for the benchmark.
    qsizetype memoryUse() const;

private:
    bool applySortState(const SortState &to);

    FileArrangement m_files;
};
