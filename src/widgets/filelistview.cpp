// SPDX-License-Identifier: MIT
#include "widgets/filelistview.h"

#include "core/filelistmodel.h"
#include "core/fileselection.h"
#include "widgets/namedelegate.h"
#include "widgets/typeaheadsearch.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>

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
{
    setItemDelegate(new RowDelegate(this));
    setTabKeyNavigation(false); // Tab leaves the list, as in every other control
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_copyName = addCopyAction(tr("&Copy Name"));

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
    // The row at the top, for the work on the rows to keep; scrolled by the
    // user, the place before a reset is no longer theirs.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_files)
            m_files->selection()->setTopRow(rowAt(0));
    });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
        [this] { m_beforeReset.scrolled = true; });
    connect(headers, &QHeaderView::sectionClicked, this, [this](int section) {
        // The header turns its own arrow on a click; the arrow shows the
        // rows' order, which changes only once they are sorted.
        updateSortIndicator();
        emit columnClick(section + 1);
    });
}

void FileListView::setFiles(FileListModel *files)
{
    m_files = files;
    setModel(files);
    // The model's own selection, which keeps the user's place through changes of the rows.
    QItemSelectionModel *own = selectionModel();
    setSelectionModel(files->selection());
    delete own;
    delete m_typeAhead;
    m_typeAhead = new TypeAheadSearch(this, files);
    connect(files, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const QRect current = visualRect(currentIndex());
        const int top = rowAt(0);
        m_beforeReset = { current.isValid() && viewport()->rect().intersects(current),
            current.top(), top < 0 ? 0 : rowViewportPosition(top), false };
    });
    // Rows coming in or moving keep the user's place.
    connect(files, &QAbstractItemModel::layoutAboutToBeChanged, this, &FileListView::notePlace);
    connect(files, &QAbstractItemModel::layoutChanged, this, &FileListView::keepPlace);
    connect(files->selection(), &FileSelection::placeFound, this, &FileListView::placeFound);
    // Whoever arranges the rows, the arrow shows their order.
    connect(files, &QAbstractItemModel::layoutChanged, this, &FileListView::updateSortIndicator);
    connect(files, &QAbstractItemModel::modelReset, this, &FileListView::updateSortIndicator);
    // 4000 and 1440 twips at 15 twips a pixel; the header has its sections once it has a model.
    horizontalHeader()->resizeSection(NameColumn, NameWidth);
    horizontalHeader()->resizeSection(ExtensionColumn, ExtensionWidth);
    updateSortIndicator();
}

void FileListView::notePlace()
{
    const QModelIndex current = currentIndex();
    const QRect row = visualRect(current);
    const int top = rowAt(0);
    if (current.isValid() && viewport()->rect().intersects(row))
        m_anchor = current;
    else
        m_anchor = top < 0 ? QModelIndex() : m_files->index(top, 0);
    m_anchorY = m_anchor.isValid() ? rowViewportPosition(m_anchor.row()) : 0;
}

void FileListView::keepPlace()
{
    if (m_anchor.isValid())
        placeRow(m_anchor.row(), m_anchorY);
    m_anchor = QPersistentModelIndex();
}

void FileListView::placeRow(int position, int y)
{
    executeDelayedItemsLayout();
    const qint64 offset = qint64(position) * rowHeight() - y;
    QScrollBar *bar = verticalScrollBar();
    if (verticalScrollMode() == ScrollPerPixel)
        bar->setValue(int(std::clamp<qint64>(offset, 0, bar->maximum())));
    else if (rowHeight() > 0)
        bar->setValue(
            int(std::clamp<qint64>((offset + rowHeight() / 2) / rowHeight(), 0, bar->maximum())));
}

void FileListView::placeFound(int top, int current, bool show)
{
    if (show) {
        if (current >= 0)
            scrollTo(m_files->index(current, 0));
        return;
    }
    // The user's place as it was before the rows were replaced, unless the
    // user has scrolled since.
    if (m_beforeReset.scrolled)
        return;
    if (current >= 0 && m_beforeReset.currentInView)
        placeRow(current, m_beforeReset.currentY);
    else if (top >= 0)
        placeRow(top, m_beforeReset.topY);
    else if (current >= 0)
        scrollTo(m_files->index(current, 0));
}

void FileListView::updateGeometries()
{
    // The two columns just fill the list; once the scroll bar takes its
    // width, "Extension" gives up what it must, or the header's sort arrow,
    // drawn at the column's right end, would be cut off.
    const int extension
        = std::clamp(viewport()->width() - NameWidth, ExtensionWidth / 2, ExtensionWidth);
    if (horizontalHeader()->sectionSize(ExtensionColumn) != extension)
        horizontalHeader()->resizeSection(ExtensionColumn, extension);
    ReportView::updateGeometries();
}

int FileListView::selectedRow() const
{
    const std::vector<uint32_t> positions = selectedPositions();
    return positions.empty() ? -1 : int(positions.front());
}

std::vector<uint32_t> FileListView::selectedPositions() const
{
    return m_files->selection()->selectedPositions();
}

void FileListView::keyboardSearch(const QString &search)
{
    if (m_typeAhead)
        m_typeAhead->type(search);
}

bool FileListView::isSearching() const
{
    return m_typeAhead && m_typeAhead->isRunning();
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
    return ReportView::moveCursor(action, modifiers);
}

QString FileListView::copiedText() const
{
    QStringList names;
    for (const uint32_t row : selectedPositions())
        names << FileListModel::displayText(m_files->name(int(row)));
    return names.isEmpty() ? QString() : names.join(u'\n');
}

void FileListView::fillMenu(QMenu *menu, const QModelIndex &index)
{
    const auto add = [menu](QAction *command) {
        if (command)
            menu->addAction(command);
    };
    if (index.isValid()) {
        add(m_commands.remove);
        // The window's commands for this row's extension say which it is.
        emit extensionOffered(m_files->extension(index.row()).toByteArray(), menu);
        add(m_commands.removeExtension);
        add(m_commands.keepExtension);
        add(m_copyName);
    }
    add(m_commands.copyAllNames);
    add(m_commands.copyAllPaths);
    if (m_commands.undo || m_commands.redo) {
        menu->addSeparator();
        add(m_commands.undo);
        add(m_commands.redo);
    }
}
