// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/filerows.h"

#include <QAbstractTableModel>

#include <cstdint>

class FileSelection;

// The file list: one row per file, "File Name" and "Extension".
//
// Rows are kept as the bytes the file system gave and shown decoded, so a name
// that is not valid UTF-8 shows with replacement characters yet is written
// back unchanged. The rows and their order are prepared elsewhere, on a
// worker (see ListWork), and taken over whole, or a row at a time.
class FileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using enum Column;

    explicit FileListModel(QObject *parent = nullptr);
    ~FileListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // The name and extension of the row at a display position, as bytes. O(1).
    QByteArrayView name(int row) const { return m_files.rows->name(m_files.order[size_t(row)]); }
    QByteArrayView extension(int row) const
    {
        return m_files.rows->extension(m_files.order[size_t(row)]);
    }

    bool isSorted() const { return m_files.state.sorted; }
    int sortColumn() const { return m_files.state.column; }
    Qt::SortOrder sortOrder() const { return m_files.state.order; }
    SortState sortState() const { return m_files.state; }
    // A lower limit of sort key bytes, so that tests can reach it.
    void setSortKeyLimit(qsizetype bytes);

    // The rows, their order and keys; a copy is what a worker sorts or saves from,
    // sharing the rows and keys.
    const FileArrangement &arrangement() const { return m_files; }
    // Takes over an arrangement made by a worker: new rows, or rows taken
    // out or put back, reset the model; the same rows in a new order keep the
    // selection and current row with their rows.
    void setArrangement(FileArrangement files);
    // Takes over rows that begin with the rows shown now, row for row, as
    // a listing that goes on makes them: in listing order the rows added are
    // inserted at the end; sorted, the rows shown take their places among
    // them in one change of the layout. Either way views keep the rows
    // picked and their place. O(1), or one pass over the order.
    void extendArrangement(FileArrangement files);

    // Takes out the row at a display position, noting it so that it can be put back.
    RemovedRows takeRowAt(int position);
    // Puts back rows that were taken out while the order stayed as it was
    // then, as inserted rows, so that views keep their place. O(n) per row.
    void putRowsBack(const RemovedRows &removed);

    // Which rows are picked, the current row and the row at the top of the
    // view: the user's place, which changes of the rows keep.
    FileSelection *selection() const { return m_selection; }

    // How a name's bytes are shown: see displayText() in core/displaytext.h.
    static QString displayText(QByteArrayView bytes);

    // Bytes held by rows, order and sort keys, for the benchmark.
    qsizetype memoryUse() const;

private:
    // The display positions of rows in order, of rowCount rows. O(order).
    static std::vector<uint32_t> positionsOf(
        const RowOrder &order, const std::vector<uint32_t> &rows, qsizetype rowCount);
    // Takes over files as a change of the layout: the rows shown keep their
    // persistent indexes, wherever files puts them.
    void changeLayout(FileArrangement files);
    // Frees rows and keys no longer shown, those of a long list on a worker.
    static void letGo(FileArrangement old);

    FileArrangement m_files;
    FileSelection *m_selection = nullptr;
};
