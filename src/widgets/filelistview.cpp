// SPDX-License-Identifier: MIT
#include "widgets/filelistview.h"

#include "core/filelistmodel.h"
#include "widgets/listcues.h"
#include "widgets/namedelegate.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>

#include <algorithm>

namespace {

// Rows are selected whole: a focus frame round a single cell would suggest
// otherwise. The view frames the whole current row instead.
class RowDelegate : public NameDelegate
{
public:
    using NameDelegate::NameDelegate;

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        NameDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

FileListView::FileListView(QWidget *parent)
    : QTableView(parent)
    , m_files(new FileListModel(this))
{
    setModel(m_files);
    setItemDelegate(new RowDelegate(this));
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false); // Tab leaves the list, as in every other control
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // One fixed row height: positions are arithmetic, and nothing is measured per row.
    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(fontMetrics().height());

    QHeaderView *headers = horizontalHeader();
    headers->setHighlightSections(false);
    headers->setStretchLastSection(false);
    headers->setSectionsMovable(false);
    headers->setSectionsClickable(true);
    headers->setSortIndicatorShown(false);
    headers->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // 4000 and 1440 twips at 15 twips a pixel.
    headers->resizeSection(FileListModel::NameColumn, NameWidth);
    headers->resizeSection(FileListModel::ExtensionColumn, ExtensionWidth);
    connect(headers, &QHeaderView::sectionClicked, this, [this](int section) {
        // The header turns its own arrow on a click; the arrow shows the
        // rows' order, which changes only once they are sorted.
        updateSortIndicator();
        emit columnClick(section + 1);
    });

    // Whoever arranges the rows, the arrow shows their order.
    connect(m_files, &QAbstractItemModel::layoutChanged, this, &FileListView::updateSortIndicator);
    connect(m_files, &QAbstractItemModel::modelReset, this, &FileListView::updateSortIndicator);
    // Rows taken out or put back in bulk reset the model, which clears the
    // selection: it stays with its row, or, with the row gone, moves to the
    // row now in its place, as after a Remove.
    connect(m_files, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const int row = selectedRow();
        m_kept = { m_files->arrangement().rows.get(), row,
            row < 0 ? 0 : m_files->arrangement().order[size_t(row)] };
    });
    connect(m_files, &QAbstractItemModel::modelReset, this, [this] {
        const FileArrangement &files = m_files->arrangement();
        if (m_kept.position < 0 || m_kept.rows != files.rows.get() || files.order.empty())
            return;
        const auto found = std::find(files.order.begin(), files.order.end(), m_kept.row);
        const int position = found != files.order.end()
            ? int(found - files.order.begin())
            : std::min(m_kept.position, int(files.order.size()) - 1);
        const QModelIndex next = m_files->index(position, 0);
        selectionModel()->setCurrentIndex(
            next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(next);
    });
}

void FileListView::updateGeometries()
{
    // The two columns just fill the list; once the scroll bar takes its
    // width, "Extension" gives up what it must, or the header's sort arrow,
    // drawn at the column's right end, would be cut off.
    const int extension
        = std::clamp(viewport()->width() - NameWidth, ExtensionWidth / 2, ExtensionWidth);
    if (horizontalHeader()->sectionSize(FileListModel::ExtensionColumn) != extension)
        horizontalHeader()->resizeSection(FileListModel::ExtensionColumn, extension);
    QTableView::updateGeometries();
}

int FileListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

RemovedRows FileListView::removeRow(int row)
{
    RemovedRows removed = m_files->takeRowAt(row);
    const int rows = m_files->rowCount();
    if (rows == 0)
        return removed;
    const QModelIndex next = m_files->index(std::min(row, rows - 1), 0);
    selectionModel()->setCurrentIndex(
        next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return removed;
}

bool FileListView::isSorted() const
{
    return m_files->isSorted();
}

bool FileListView::setSorted(bool sorted)
{
    const bool done = m_files->setSorted(sorted);
    updateSortIndicator();
    return done;
}

Qt::SortOrder FileListView::sortOrder() const
{
    return m_files->sortOrder();
}

bool FileListView::setSortOrder(Qt::SortOrder order)
{
    const bool done = m_files->setSortOrder(order);
    updateSortIndicator();
    return done;
}

int FileListView::sortKey() const
{
    return m_files->sortKey();
}

bool FileListView::setSortKey(int column)
{
    const bool done = m_files->setSortKey(column);
    updateSortIndicator();
    return done;
}

void FileListView::setArrangement(FileArrangement files)
{
    m_files->setArrangement(std::move(files));
    updateSortIndicator();
}

void FileListView::updateSortIndicator()
{
    // Only sets the arrow: the header sorts nothing unless the view's own sorting is enabled.
    header()->setSortIndicatorShown(m_files->isSorted());
    header()->setSortIndicator(m_files->sortKey(), m_files->sortOrder());
}

QModelIndex FileListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // A table's Home and End go to the first and last column; a list's go to rows.
    if (action == MoveHome || action == MoveEnd) {
        const int rows = m_files->rowCount();
        if (rows == 0)
            return QModelIndex();
        const int column = std::max(currentIndex().column(), 0);
        return m_files->index(action == MoveHome ? 0 : rows - 1, column);
    }
    return QTableView::moveCursor(action, modifiers);
}

void FileListView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Delete)) {
        emit removeKeyPressed();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        // The selected row's name, whichever cell is current.
        const int row = selectedRow();
        if (row >= 0)
            QGuiApplication::clipboard()->setText(FileListModel::displayText(m_files->name(row)));
        event->accept();
        return;
    }
    if (ListCues::selectFirstRowOnDown(this, event))
        return;
    QTableView::keyPressEvent(event);
}

void FileListView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    ListCues::paintFocusFrame(this);
}

bool FileListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        return ListCues::showFullText(this, static_cast<QHelpEvent *>(event));
    return QTableView::viewportEvent(event);
}

void FileListView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void FileListView::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void FileListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    viewport()->update(); // the focus frame spans the row, wider than the cell Qt repaints
}
