// SPDX-License-Identifier: MIT
#include "widgets/filelistview.h"

#include "core/filelistmodel.h"
#include "core/workerpool.h"
#include "widgets/namedelegate.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QtConcurrent/QtConcurrentRun>

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
    : CueingList(parent)
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

int FileListView::sortColumn() const
{
    return m_files->sortColumn();
}

bool FileListView::setSortColumn(int column)
{
    const bool done = m_files->setSortColumn(column);
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
    header()->setSortIndicator(m_files->sortColumn(), m_files->sortOrder());
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

QString FileListView::copiedText() const
{
    const int row = selectedRow();
    return row >= 0 ? FileListModel::displayText(m_files->name(row)) : QString();
}

void FileListView::fillMenu(QMenu *menu, const QModelIndex &index)
{
    using ListCues::addCommand;
    if (index.isValid()) {
        addCommand(menu, tr("&Remove"), QKeySequence::Delete, [this] { emit removeRequested(); });
        const QByteArray extension = m_files->extension(index.row()).toByteArray();
        if (extension.isEmpty()) {
            addCommand(menu, tr("Remove &All Files Without Extension"), {},
                [this] { emit removeExtensionRequested(QByteArray()); });
            addCommand(menu, tr("&Keep Only Files Without Extension"), {},
                [this] { emit keepExtensionRequested(QByteArray()); });
        } else {
            // As the Extension column shows it.
            const QString shown = ListCues::menuText(FileListModel::displayText(extension), menu);
            addCommand(menu, tr("Remove &All .%1 Files").arg(shown), {},
                [this, extension] { emit removeExtensionRequested(extension); });
            addCommand(menu, tr("&Keep Only .%1 Files").arg(shown), {},
                [this, extension] { emit keepExtensionRequested(extension); });
        }
        addCommand(menu, tr("&Copy Name"), QKeySequence::Copy, [this] { copySelected(); });
    }
    const bool rows = m_files->rowCount() > 0;
    addCommand(menu, tr("Copy All &Names"), {}, [this] {
        copyAll(ListText::Names);
    })->setEnabled(rows);
    addCommand(menu, tr("Copy All &Paths"), {}, [this] {
        copyAll(ListText::Paths);
    })->setEnabled(rows);
    if (m_undo || m_redo) {
        menu->addSeparator();
        for (QAction *action : { m_undo.data(), m_redo.data() }) {
            if (action)
                menu->addAction(action);
        }
    }
}

void FileListView::setUndoActions(QAction *undo, QAction *redo)
{
    m_undo = undo;
    m_redo = redo;
}

void FileListView::copyAll(ListText what)
{
    if (m_files->rowCount() == 0)
        return;
    if (m_copy) {
        m_copy->disconnect(this);
        m_copy->deleteLater();
    }
    // A million names take a few hundred milliseconds to decode and escape:
    // written by a worker from a copy of the order, while the window goes on.
    m_copy = new QFutureWatcher<QString>(this);
    connect(m_copy, &QFutureWatcherBase::finished, this, [this] {
        QGuiApplication::clipboard()->setText(m_copy->result());
        m_copy->deleteLater();
        m_copy = nullptr;
    });
    m_copy->setFuture(QtConcurrent::run(
        workerPool(), [files = m_files->arrangement(), what] { return listText(files, what); }));
}
