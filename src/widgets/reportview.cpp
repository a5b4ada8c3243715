// SPDX-License-Identifier: MIT
#include "widgets/reportview.h"

#include <QAccessible>
#include <QHeaderView>
#include <QHoverEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

int clampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

} // namespace

ReportView::ReportView(QWidget *parent)
    : QAbstractItemView(parent)
    , m_header(new QHeaderView(Qt::Horizontal, this))
    , m_rows(new QHeaderView(Qt::Vertical, this))
{
    m_header->setSectionsClickable(true);
    m_header->setHighlightSections(true);
    m_rows->hide();
    m_rows->setSectionResizeMode(QHeaderView::Fixed);
    const auto relayout = [this] {
        updateGeometries();
        viewport()->update();
    };
    connect(m_header, &QHeaderView::sectionResized, this, relayout);
    connect(m_header, &QHeaderView::sectionCountChanged, this, relayout);
    connect(m_header, &QHeaderView::geometriesChanged, this, &ReportView::updateGeometries);
    connect(m_header, &QHeaderView::sectionHandleDoubleClicked, this, [this](int column) {
        m_header->resizeSection(
            column, std::max(sizeHintForColumn(column), m_header->sectionSizeHint(column)));
    });
}

void ReportView::setModel(QAbstractItemModel *model)
{
    if (model == this->model())
        return;
    if (this->model())
        disconnect(this->model(), &QAbstractItemModel::rowsRemoved, this, nullptr);
    m_header->setModel(model);
    QAbstractItemView::setModel(model);
    // Rows going change the scroll bar's range; the view itself only hears of rows coming.
    if (model) {
        connect(
            model, &QAbstractItemModel::rowsRemoved, this, &ReportView::scheduleDelayedItemsLayout);
    }
}

void ReportView::setSelectionModel(QItemSelectionModel *selectionModel)
{
    m_header->setSelectionModel(selectionModel);
    QAbstractItemView::setSelectionModel(selectionModel);
}

int ReportView::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int ReportView::rowHeight() const
{
    return m_rows->defaultSectionSize();
}

int ReportView::columnWidth(int column) const
{
    return m_header->sectionSize(column);
}

int ReportView::rowAt(int y) const
{
    const int height = rowHeight();
    const qint64 position = qint64(y) + m_offset;
    if (height <= 0 || position < 0)
        return -1;
    const qint64 row = position / height;
    return row < rowCount() ? int(row) : -1;
}

int ReportView::columnAt(int x) const
{
    return m_header->logicalIndexAt(x);
}

int ReportView::rowViewportPosition(int row) const
{
    return clampToInt(qint64(row) * rowHeight() - m_offset);
}

QModelIndex ReportView::indexAt(const QPoint &point) const
{
    const_cast<ReportView *>(this)->executeDelayedItemsLayout();
    const int row = rowAt(point.y()), column = columnAt(point.x());
    if (row < 0 || column < 0)
        return QModelIndex();
    return model()->index(row, column, rootIndex());
}

QRect ReportView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex()
        || isIndexHidden(index))
        return QRect();
    const_cast<ReportView *>(this)->executeDelayedItemsLayout();
    return QRect(m_header->sectionViewportPosition(index.column()),
        rowViewportPosition(index.row()), columnWidth(index.column()), rowHeight());
}

void ReportView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex()
        || isIndexHidden(index))
        return;
    // Across, pixel by pixel.
    const int width = viewport()->width();
    const int left = m_header->sectionPosition(index.column());
    const int cellWidth = columnWidth(index.column());
    const int across = m_header->offset();
    QScrollBar *bar = horizontalScrollBar();
    if (hint == PositionAtCenter)
        bar->setValue(left - (width - cellWidth) / 2);
    else if (left - across < 0 || cellWidth > width)
        bar->setValue(left);
    else if (left - across + cellWidth > width)
        bar->setValue(left - width + cellWidth);
    scrollVerticallyTo(index.row(), rowHeight(), hint);
    update(index);
}

void ReportView::scrollVerticallyTo(int row, int cellHeight, ScrollHint hint)
{
    const int height = viewport()->height();
    const qint64 top = qint64(row) * cellHeight;
    if (top - m_offset < 0 || cellHeight > height) {
        if (hint == EnsureVisible)
            hint = PositionAtTop;
    } else if (top - m_offset + cellHeight > height) {
        if (hint == EnsureVisible)
            hint = PositionAtBottom;
    }
    QScrollBar *bar = verticalScrollBar();
    if (verticalScrollMode() == ScrollPerPixel) {
        if (hint == PositionAtTop)
            bar->setValue(clampToInt(top));
        else if (hint == PositionAtBottom)
            bar->setValue(clampToInt(top - height + cellHeight));
        else if (hint == PositionAtCenter)
            bar->setValue(clampToInt(top - (height - cellHeight) / 2));
        return;
    }
    if (hint == EnsureVisible)
        return;
    int first = row;
    if (hint == PositionAtBottom || hint == PositionAtCenter) {
        // As many rows above it as fit whole in the room left.
        const int room = (hint == PositionAtCenter ? height / 2 : height) - cellHeight;
        first -= std::min(row, room >= 0 && cellHeight > 0 ? room / cellHeight : 0);
    }
    bar->setValue(first);
}

int ReportView::sizeHintForColumn(int column) const
{
    if (!model())
        return -1;
    ensurePolished();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int first = std::max(rowAt(0), 0);
    int last = rowAt(viewport()->height());
    if (last < 0)
        last = rowCount() - 1;
    int width = 0;
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, column, rootIndex());
        width = std::max(width, itemDelegateForIndex(index)->sizeHint(option, index).width());
    }
    return width;
}

void ReportView::reset()
{
    QAbstractItemView::reset();
    scheduleDelayedItemsLayout();
}

QModelIndex ReportView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const int bottom = rowCount() - 1;
    const int right = model() ? model()->columnCount(rootIndex()) - 1 : -1;
    if (bottom < 0 || right < 0)
        return QModelIndex();
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, 0, rootIndex());
    int row = current.row(), column = current.column();
    if (isRightToLeft() && (action == MoveLeft || action == MoveRight))
        action = action == MoveLeft ? MoveRight : MoveLeft;
    switch (action) {
    case MoveUp:
        row = std::max(row - 1, 0);
        break;
    case MoveDown:
        row = std::min(row + 1, bottom);
        break;
    case MoveLeft:
        column = std::max(column - 1, 0);
        break;
    case MoveRight:
        column = std::min(column + 1, right);
        break;
    case MovePrevious: // round to the row before, and from the first to the last
        if (column > 0) {
            --column;
        } else {
            column = right;
            row = row > 0 ? row - 1 : bottom;
        }
        break;
    case MoveNext:
        if (column < right) {
            ++column;
        } else {
            column = 0;
            row = row < bottom ? row + 1 : 0;
        }
        break;
    case MoveHome:
        column = 0;
        row = modifiers & Qt::ControlModifier ? 0 : row;
        break;
    case MoveEnd:
        column = right;
        row = modifiers & Qt::ControlModifier ? bottom : row;
        break;
    case MovePageUp:
        row = rowAt(visualRect(current).bottom() - viewport()->height());
        row = row < 0 ? 0 : row;
        break;
    case MovePageDown:
        row = rowAt(visualRect(current).top() + viewport()->height());
        row = row < 0 ? bottom : row;
        break;
    }
    return model()->index(row, column, rootIndex());
}

int ReportView::horizontalOffset() const
{
    return m_header->offset();
}

int ReportView::verticalOffset() const
{
    return m_offset;
}

bool ReportView::isIndexHidden(const QModelIndex &index) const
{
    return m_header->isSectionHidden(index.column());
}

void ReportView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const int left = std::min(rect.left(), rect.right()),
              right = std::max(rect.left(), rect.right());
    const int top = std::min(rect.top(), rect.bottom()),
              bottom = std::max(rect.top(), rect.bottom());
    const QModelIndex first = indexAt(QPoint(isRightToLeft() ? right : left, top));
    const QModelIndex last = indexAt(QPoint(isRightToLeft() ? left : right, bottom));
    const auto enabled = [](const QModelIndex &index) {
        return index.isValid() && (index.flags() & Qt::ItemIsEnabled);
    };
    if (!selectionModel() || !enabled(first) || !enabled(last))
        return;
    QItemSelection selection;
    const QItemSelectionRange range(first, last);
    if (!range.isEmpty())
        selection.append(range);
    selectionModel()->select(selection, command);
}

QRegion ReportView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const QRect shown = viewport()->rect();
    for (const QItemSelectionRange &range : selection) {
        if (range.parent() != rootIndex() || !range.isValid())
            continue;
        const int top = rowViewportPosition(range.top());
        const int bottom = rowViewportPosition(range.bottom()) + rowHeight();
        const int first = isRightToLeft() ? range.right() : range.left();
        const int last = isRightToLeft() ? range.left() : range.right();
        const int left = m_header->sectionViewportPosition(first);
        const int right = m_header->sectionViewportPosition(last) + columnWidth(last);
        const QRect rect(QPoint(left, top), QPoint(right - 1, bottom - 1));
        if (shown.intersects(rect))
            region += rect;
    }
    return region;
}

void ReportView::initViewItemOption(QStyleOptionViewItem *option) const
{
    QAbstractItemView::initViewItemOption(option);
    // A selected cell is highlighted whole, as in a table.
    option->showDecorationSelected = true;
}

QSize ReportView::viewportSizeHint() const
{
    const qint64 rows = qint64(rowCount()) * rowHeight();
    return QSize(
        m_header->length(), clampToInt((m_header->isHidden() ? 0 : m_header->height()) + rows));
}

void ReportView::drawCell(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    QStyleOptionViewItem cell = option;
    if (selectionModel() && selectionModel()->isSelected(index))
        cell.state |= QStyle::State_Selected;
    if (index == m_hover)
        cell.state |= QStyle::State_MouseOver;
    if (option.state & QStyle::State_Enabled) {
        const bool enabled = index.flags() & Qt::ItemIsEnabled;
        if (!enabled)
            cell.state &= ~QStyle::State_Enabled;
        cell.palette.setCurrentColorGroup(enabled ? QPalette::Normal : QPalette::Disabled);
    }
    if (index == currentIndex() && (hasFocus() || viewport()->hasFocus()))
        cell.state |= QStyle::State_HasFocus;
    style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &cell, painter, this);
    itemDelegateForIndex(index)->paint(painter, cell, index);
}

void ReportView::paintEvent(QPaintEvent *event)
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const int rows = rowCount(), columns = m_header->count(), height = rowHeight();
    if (rows == 0 || columns == 0 || height <= 0 || !itemDelegate())
        return;
    const bool rightToLeft = isRightToLeft();
    Cells cells;
    // The last pixels the rows and columns cover.
    cells.across = m_header->length() - m_header->offset() - (rightToLeft ? 0 : 1);
    cells.down = clampToInt(qint64(rows) * height - m_offset - 1);
    cells.firstRow = std::max(rowAt(0), 0);
    const int lastRow = rowAt(viewport()->height());
    int firstColumn = m_header->visualIndexAt(0), lastColumn = m_header->visualIndexAt(width());
    if (rightToLeft)
        std::swap(firstColumn, lastColumn);
    cells.firstColumn = firstColumn < 0 ? 0 : firstColumn;
    cells.perRow = (lastColumn < 0 ? columns - 1 : lastColumn) - cells.firstColumn + 1;
    // A cell in two rectangles of the region is drawn once: twice would
    // darken the edges of its text.
    cells.drawn.resize(size_t(std::max<qsizetype>(
        0, ((lastRow < 0 ? rows - 1 : lastRow) - cells.firstRow + 1) * cells.perRow)));
    for (const QRect &dirty : event->region().translated(dirtyRegionOffset()))
        paintCells(&painter, option, dirty, cells);
}

void ReportView::paintCells(
    QPainter *painter, QStyleOptionViewItem &option, QRect dirty, Cells &cells)
{
    const QPoint offset = dirtyRegionOffset();
    const bool rightToLeft = isRightToLeft();
    dirty.setBottom(std::min(dirty.bottom(), cells.down));
    if (rightToLeft)
        dirty.setLeft(std::max(dirty.left(), viewport()->width() - cells.across));
    else
        dirty.setRight(std::min(dirty.right(), cells.across));
    if (!dirty.isValid())
        return;
    int left = m_header->visualIndexAt(dirty.left()),
        right = m_header->visualIndexAt(dirty.right());
    if (rightToLeft)
        std::swap(left, right);
    left = left < 0 ? 0 : left;
    right = right < 0 ? m_header->count() - 1 : right;
    const int top = rowAt(dirty.top());
    int bottom = rowAt(dirty.bottom());
    bottom = bottom < 0 ? rowCount() - 1 : bottom;
    for (int row = top; top >= 0 && row <= bottom; ++row) {
        const int y = rowViewportPosition(row) + offset.y();
        for (int visual = left; visual <= right; ++visual) {
            const qsizetype bit
                = (row - cells.firstRow) * cells.perRow + visual - cells.firstColumn;
            if (bit < 0 || bit >= qsizetype(cells.drawn.size()) || cells.drawn[size_t(bit)])
                continue;
            cells.drawn[size_t(bit)] = true;
            const int column = m_header->logicalIndex(visual);
            const QModelIndex index = model()->index(row, column, rootIndex());
            if (m_header->isSectionHidden(column) || !index.isValid())
                continue;
            option.rect = QRect(m_header->sectionViewportPosition(column) + offset.x(), y,
                columnWidth(column), rowHeight());
            drawCell(painter, option, index);
        }
    }
}

int ReportView::offsetOfScrollBar() const
{
    const QScrollBar *bar = verticalScrollBar();
    if (verticalScrollMode() == ScrollPerPixel)
        return bar->value();
    // At its end the last row lies on the bottom edge, as in a table.
    if (bar->maximum() > 0 && bar->value() == bar->maximum())
        return clampToInt(qint64(rowCount()) * rowHeight() - viewport()->height());
    return clampToInt(qint64(bar->value()) * rowHeight());
}

void ReportView::scrollContentsBy(int dx, int dy)
{
    if (dx) {
        const int before = m_header->offset();
        const QScrollBar *bar = horizontalScrollBar();
        if (horizontalScrollMode() == ScrollPerPixel) {
            m_header->setOffset(bar->value());
            dx = isRightToLeft() ? -dx : dx;
        } else {
            if (bar->maximum() > 0 && bar->value() == bar->maximum())
                m_header->setOffsetToLastSection();
            else
                m_header->setOffsetToSectionPosition(bar->value());
            dx = isRightToLeft() ? m_header->offset() - before : before - m_header->offset();
        }
    }
    if (dy) {
        const int before = std::exchange(m_offset, offsetOfScrollBar());
        dy = before - m_offset;
    }
    QAbstractItemView::scrollContentsBy(dx, dy);
}

bool ReportView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        m_hover = indexAt(static_cast<QHoverEvent *>(event)->position().toPoint());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        m_hover = QPersistentModelIndex();
        break;
    default:
        break;
    }
    return QAbstractItemView::viewportEvent(event);
}

void ReportView::mouseMoveEvent(QMouseEvent *event)
{
    m_hover = indexAt(event->position().toPoint());
    QAbstractItemView::mouseMoveEvent(event);
}

void ReportView::updateGeometries()
{
    if (m_laying)
        return;
    m_laying = true;
    int height = 0;
    if (!m_header->isHidden()) {
        height = std::max(m_header->minimumHeight(), m_header->sizeHint().height());
        height = std::min(height, m_header->maximumHeight());
    }
    setViewportMargins(0, height, 0, 0);
    const QRect shown = viewport()->geometry();
    m_header->setGeometry(shown.left(), shown.top() - height, shown.width(), height);
    if (m_header->isHidden())
        QMetaObject::invokeMethod(m_header, "updateGeometries");
    updateScrollBars();
    if (const int offset = offsetOfScrollBar(); offset != m_offset) {
        m_offset = offset;
        viewport()->update();
    }
    m_laying = false;
    QAbstractItemView::updateGeometries();
}

void ReportView::updateScrollBars()
{
    // Everything fits in the most room the viewport can have: no scroll bar takes any.
    QSize room = viewport()->size();
    const QSize most = maximumViewportSize();
    const int rows = rowCount(), rowsHeight = rowHeight();
    const qint64 down = qint64(rows) * rowsHeight;
    const int across = m_header->length();
    if (most.width() >= across && most.height() >= down)
        room = most;

    QScrollBar *bar = horizontalScrollBar();
    int columnsInView = 0;
    for (int width = 0, visual = m_header->count() - 1; visual >= 0; --visual) {
        if (m_header->isSectionHidden(m_header->logicalIndex(visual)))
            continue;
        width += m_header->sectionSize(m_header->logicalIndex(visual));
        if (width > room.width())
            break;
        ++columnsInView;
    }
    columnsInView = std::max(columnsInView, 1);
    if (horizontalScrollMode() == ScrollPerItem) {
        const int columns = m_header->count() - m_header->hiddenSectionCount();
        bar->setRange(0, columns - columnsInView);
        bar->setPageStep(columnsInView);
        if (columnsInView >= columns)
            m_header->setOffset(0);
        bar->setSingleStep(1);
    } else {
        bar->setPageStep(room.width());
        bar->setRange(0, across - room.width());
        bar->setSingleStep(std::max(room.width() / (columnsInView + 1), 2));
    }

    bar = verticalScrollBar();
    const int rowsInView
        = std::max(1, rowsHeight > 0 ? std::min(rows, room.height() / rowsHeight) : rows);
    if (verticalScrollMode() == ScrollPerItem) {
        bar->setRange(0, rows - rowsInView);
        bar->setPageStep(rowsInView);
        bar->setSingleStep(1);
    } else {
        bar->setPageStep(room.height());
        bar->setRange(0, clampToInt(down - room.height()));
        bar->setSingleStep(std::max(room.height() / (rowsInView + 1), 2));
    }
}

void ReportView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    scheduleDelayedItemsLayout();
}

void ReportView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (QAccessible::isActive() && current.isValid()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row() * m_header->count() + current.column());
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

void ReportView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (QAccessible::isActive()) {
        const auto tell = [this](const QItemSelection &change, QAccessible::Event type) {
            if (change.isEmpty())
                return;
            const QItemSelectionRange &first = change.first();
            QAccessibleEvent event(this, type);
            event.setChild(first.top() * m_header->count() + first.left());
            QAccessible::updateAccessibility(&event);
        };
        tell(selected, QAccessible::SelectionAdd);
        tell(deselected, QAccessible::SelectionRemove);
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}
