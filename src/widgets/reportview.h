// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractItemView>
#include <QPersistentModelIndex>

#include <vector>

class QHeaderView;

// A report view: the columns of a table model under a header, in rows of one
// height, drawn and selected as a table view draws and selects them, without
// a grid. It keeps nothing per row: a row's place is its number times the row
// height, so that ten million rows cost what ten do, and rows coming in,
// going or moving cost the view nothing but a repaint. (A table view keeps an
// item per row in its vertical header and moves them all at each insertion.)
class ReportView : public QAbstractItemView
{
    Q_OBJECT

public:
    explicit ReportView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    void setSelectionModel(QItemSelectionModel *selectionModel) override;

    // The column headers.
    QHeaderView *horizontalHeader() const { return m_header; }
    // Hidden and without sections: the rows' height (its default section
    // size) and their resize mode, Fixed, as a table's vertical header gives them.
    QHeaderView *verticalHeader() const { return m_rows; }
    int rowHeight() const;
    int columnWidth(int column) const;

    // The row or column at a viewport coordinate, or -1; a row's top. O(1).
    int rowAt(int y) const;
    int columnAt(int x) const;
    int rowViewportPosition(int row) const;

    QModelIndex indexAt(const QPoint &point) const override;
    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    // The widest cell of the rows in view: what a double click on the
    // header's handle fits the column to.
    int sizeHintForColumn(int column) const override;
    void reset() override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void initViewItemOption(QStyleOptionViewItem *option) const override;
    QSize viewportSizeHint() const override;

    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void updateGeometries() override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(
        const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    int rowCount() const;
    // The offset of the rows in view that the vertical scroll bar stands for.
    int offsetOfScrollBar() const;
    void drawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);
    // What a paint event draws: the cells in view, those drawn already.
    struct Cells
    {
        int across = 0, down = 0; // the last pixels the columns and rows cover
        int firstRow = 0, firstColumn = 0;
        qsizetype perRow = 0;
        std::vector<bool> drawn;
    };
    void paintCells(QPainter *painter, QStyleOptionViewItem &option, QRect dirty, Cells &cells);
    void updateScrollBars();
    void scrollVerticallyTo(int row, int cellHeight, ScrollHint hint);

    QHeaderView *m_header;
    QHeaderView *m_rows;
    int m_offset = 0; // of the rows, in pixels
    bool m_laying = false; // in updateGeometries()
    QPersistentModelIndex m_hover;
};
