// SPDX-License-Identifier: MIT
#pragma once

#include "core/textexport.h"
#include "widgets/cueinglist.h"

#include <QFutureWatcher>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>

#include <cstdint>

class FileListModel;
struct FileArrangement;
struct RemovedRows;

// The file list as the window shows it: a report view with the two columns of
// FileListModel, single selection, and clickable headers that report the
// clicked column without sorting by themselves; the window decides.
// Built for a million rows: a table view keeps nothing per row but a header
// section (a tree view keeps some 40 bytes), rows are of one fixed height and
// columns of fixed widths.
class FileListView : public CueingList<QTableView>
{
    Q_OBJECT

public:
    explicit FileListView(QWidget *parent = nullptr);

    FileListModel *files() const { return m_files; }
    // The column headers.
    QHeaderView *header() const { return horizontalHeader(); }

    // The display position of the selected row, or -1 when none is selected.
    int selectedRow() const;
    // Removes the row at a display position and selects the row that takes
    // its place, or the new last row, so that repeated removals trim a run.
    // Returns what puts it back.
    RemovedRows removeRow(int row);

    // The sort state; the header's sort indicator follows it. The setters
    // fail as the model's do, when the rows have too many sort key bytes.
    bool isSorted() const;
    bool setSorted(bool sorted);
    Qt::SortOrder sortOrder() const;
    bool setSortOrder(Qt::SortOrder order);
    int sortColumn() const;
    bool setSortColumn(int column);
    // Takes over rows sorted elsewhere, with their sort state.
    void setArrangement(FileArrangement files);

    // The window's Undo and Redo, placed at the end of the context menu;
    // either may be null, and is then left out.
    void setUndoActions(QAction *undo, QAction *redo);

    // Puts every row's name or path on the clipboard, one a line, once a
    // worker has written them; an empty list leaves the clipboard alone.
    // The context menu's "Copy All Names" and "Copy All Paths".
    void copyAll(ListText what);

signals:
    // A column header was clicked: 1 for "File Name", 2 for "Extension".
    void columnClick(int index);
    // Delete or the menu's "Remove"; the window treats it as the file list's "Remove".
    void removeRequested();
    // The menu's "Remove All .EXT Files" and "Keep Only .EXT Files", with the
    // extension's bytes as FileListModel::extension() gives them.
    void removeExtensionRequested(QByteArray extension);
    void keepExtensionRequested(QByteArray extension);

protected:
    // Home, End, Page Up and Page Down move by rows, as in every file list;
    // Left and Right stay within the row.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;
    void requestRemove() override { emit removeRequested(); }
    // The selected row's name, by the display rules.
    QString copiedText() const override;
    void fillMenu(QMenu *menu, const QModelIndex &index) override;

private:
    static constexpr int NameWidth = 267;
    static constexpr int ExtensionWidth = 96;

    void updateSortIndicator();

    FileListModel *m_files;
    // The selected row across a reset: its rows, position and row number.
    struct
    {
        const void *rows = nullptr;
        int position = -1;
        uint32_t row = 0;
    } m_kept;
    QPointer<QAction> m_undo;
    QPointer<QAction> m_redo;
    // The copy under way; a newer one replaces it.
    QFutureWatcher<QString> *m_copy = nullptr;
};
