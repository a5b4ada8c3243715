// SPDX-License-Identifier: MIT
#include "widgets/filelistview.h"

#include "core/filelistmodel.h"
#include "widgets/namedelegate.h"
#include "widgets/typeaheadsearch.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>

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
    // A removed row's place goes to the row after it, or to the new last row.
    // Heard before the selection model, which takes removed rows out of the
    // selection as they go.
    connect(files, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex &, int first, int last) {
            const int selected = selectedRow();
            m_removing = selected >= first && selected <= last ? first : -1;
        });
    setModel(files);
    delete m_typeAhead;
    m_typeAhead = new TypeAheadSearch(this, files);
    connect(files, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (const int position = std::exchange(m_removing, -1); position >= 0)
            selectAfterRemoval(position);
    });
    // Rows taken out or put back in bulk reset the model, which clears the
    // selection: the first selected row stays selected, or, gone, the row
    // now in its place is, as after a Remove. Heard after the selection
    // model has cleared itself.
    connect(files, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const int row = selectedRow();
        m_kept = { m_files->arrangement().rows.get(), row,
            row < 0 ? 0 : m_files->arrangement().order[size_t(row)] };
    });
    connect(files, &QAbstractItemModel::modelReset, this, [this] {
        const FileArrangement &files = m_files->arrangement();
        if (m_kept.position < 0 || m_kept.rows != files.rows.get() || files.order.empty())
            return;
        const auto found = std::find(files.order.begin(), files.order.end(), m_kept.row);
        if (found != files.order.end())
            selectAfterRemoval(int(found - files.order.begin()));
        else
            selectAfterRemoval(m_kept.position);
    });
    // Whoever arranges the rows, the arrow shows their order.
    connect(files, &QAbstractItemModel::layoutChanged, this, &FileListView::updateSortIndicator);
    connect(files, &QAbstractItemModel::modelReset, this, &FileListView::updateSortIndicator);
    // 4000 and 1440 twips at 15 twips a pixel; the header has its sections once it has a model.
    horizontalHeader()->resizeSection(NameColumn, NameWidth);
    horizontalHeader()->resizeSection(ExtensionColumn, ExtensionWidth);
    updateSortIndicator();
}

void FileListView::selectAfterRemoval(int position)
{
    const int rows = m_files->rowCount();
    if (rows == 0)
        return;
    const QModelIndex next = m_files->index(std::min(position, rows - 1), 0);
    selectionModel()->setCurrentIndex(
        next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(next);
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
    std::vector<uint32_t> positions;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            positions.push_back(uint32_t(row));
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
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
        const QByteArray extension = m_files->extension(index.row()).toByteArray();
        // As the Extension column shows it.
        const QString shown = ListCues::menuText(FileListModel::displayText(extension), menu);
        const struct
        {
            QAction *command;
            QString text;
        } byExtension[] = {
            { m_commands.removeExtension,
                extension.isEmpty() ? tr("Remove &All Files Without Extension")
                                    : tr("Remove &All .%1 Files").arg(shown) },
            { m_commands.keepExtension,
                extension.isEmpty() ? tr("&Keep Only Files Without Extension")
                                    : tr("&Keep Only .%1 Files").arg(shown) },
        };
        for (const auto &[command, text] : byExtension) {
            if (command) {
                command->setText(text);
                command->setData(extension);
            }
            add(command);
        }
        add(m_copyName);
    }
    const bool rows = m_files->rowCount() > 0;
    for (QAction *copyAll : { m_commands.copyAllNames, m_commands.copyAllPaths }) {
        if (copyAll)
            copyAll->setEnabled(rows);
        add(copyAll);
    }
    if (m_commands.undo || m_commands.redo) {
        menu->addSeparator();
        add(m_commands.undo);
        add(m_commands.redo);
    }
}
