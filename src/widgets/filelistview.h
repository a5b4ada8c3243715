// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/cueinglist.h"
#include "widgets/reportview.h"

#include <QHeaderView>
#include <QPointer>

#include <cstdint>
#include <vector>

class FileListModel;
class TypeAheadSearch;

// The file list as the window shows it: a report view with the two columns of
// FileListModel, rows selected as in every file list (ranges with Shift,
// single rows with Ctrl, Ctrl+A), and clickable headers that report the
// clicked column without sorting by themselves; the window decides.
// Built for ten million rows: the report view keeps nothing per row (a table
// view keeps a header section, a tree view some 40 bytes), rows are of one
// fixed height and columns of fixed widths.
class FileListView : public CueingList<ReportView>
{
    Q_OBJECT

public:
    explicit FileListView(QWidget *parent = nullptr);

    // The rows shown; the view follows their order with its header's arrow.
    void setFiles(FileListModel *files);
    FileListModel *files() const { return m_files; }
    // The column headers.
    QHeaderView *header() const { return horizontalHeader(); }

    // The display position of the first selected row, or -1 when none is.
    int selectedRow() const;
    // The display positions of every selected row, ascending. O(rows
    // selected), without an index per row.
    std::vector<uint32_t> selectedPositions() const;

    // Type-ahead: the letters typed select the next row whose name starts
    // with them, as in every item view, found on a worker (TypeAheadSearch).
    void keyboardSearch(const QString &search) override;
    // A type-ahead search runs; its row is not selected yet.
    bool isSearching() const;

    // The commands the context menu offers, each the window's own action, so
    // that its text, key and enabled state are the same wherever it shows;
    // any may be null, and is then left out. The extension's commands are
    // given the row's extension as their data, and texts naming it, as the
    // menu opens over a row.
    struct Commands
    {
        QAction *remove = nullptr;
        QAction *removeExtension = nullptr;
        QAction *keepExtension = nullptr;
        QAction *copyAllNames = nullptr;
        QAction *copyAllPaths = nullptr;
        QAction *undo = nullptr;
        QAction *redo = nullptr;
    };
    void setCommands(const Commands &commands) { m_commands = commands; }

signals:
    // A column header was clicked: 1 for "File Name", 2 for "Extension".
    void columnClick(int index);
    // The context menu is about to offer the extension's commands, for the
    // extension of the row it opens on; whoever owns them names it in them.
    void extensionOffered(const QByteArray &extension, const QMenu *menu);

protected:
    // Home, End, Page Up and Page Down move by rows, as in every file list;
    // Left and Right stay within the row.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;
    // The selected rows' names, by the display rules, one a line.
    QString copiedText() const override;
    void fillMenu(QMenu *menu, const QModelIndex &index) override;

private:
    static constexpr int NameWidth = 267;
    static constexpr int ExtensionWidth = 96;

    void updateSortIndicator();
    // Notes where the user is before the rows change, and puts the row
    // noted back at its place after: the current row where it was if it was
    // in view, else the row at the top.
    void notePlace();
    void keepPlace();
    // Scrolls so that the row at position lies y pixels from the top.
    void placeRow(int position, int y);
    void placeFound(int top, int current, bool show);

    FileListModel *m_files = nullptr;
    TypeAheadSearch *m_typeAhead = nullptr;
    QAction *m_copyName;
    Commands m_commands;
    // Where the user was before the rows changed: the row kept in place and
    // its distance from the top; before the last reset, the current row's
    // (when in view) and the top row's distances, and whether the user has
    // scrolled since.
    QPersistentModelIndex m_anchor;
    int m_anchorY = 0;
    struct
    {
        bool currentInView = false;
        int currentY = 0;
        int topY = 0;
        bool scrolled = false;
    } m_beforeReset;
};
