// SPDX-License-Identifier: MIT
#include "widgets/listcues.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QToolTip>

namespace ListCues {

void paintFocusFrame(QAbstractItemView *view)
{
    if (!view->hasFocus())
        return;
    QWidget *viewport = view->viewport();
    const QModelIndex current = view->currentIndex();
    QRect frame = viewport->rect();
    bool onSelection = false;
    if (current.isValid()) {
        const QRect row = view->visualRect(current);
        if (!row.intersects(frame))
            return; // scrolled away: nothing to mark here
        frame = QRect(0, row.top(), viewport->width(), row.height());
        onSelection = view->selectionModel()->isSelected(current);
    }
    // A dotted line in the text colour of what lies beneath: readable on the
    // selection's highlight as on the list's background.
    QPainter painter(viewport);
    QPen pen(view->palette().color(onSelection ? QPalette::HighlightedText : QPalette::Text));
    pen.setStyle(Qt::DotLine);
    pen.setWidth(1);
    painter.setPen(pen);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

bool isCutOff(const QAbstractItemView *view, const QModelIndex &index)
{
    // Item text is drawn from the left, inside a focus-frame margin on either
    // side; a list's entry may be wider than its text, a table's cell narrower.
    const QRect cell = view->visualRect(index);
    if (cell.left() < 0)
        return true;
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int textEnd = cell.left() + margin
        + view->fontMetrics().horizontalAdvance(index.data(Qt::DisplayRole).toString());
    return textEnd > std::min(cell.left() + cell.width() - margin, view->viewport()->width());
}

QString plainToolTip(const QString &text, int maxWidth)
{
    // A name has no spaces to wrap at, and Qt's tip would run off the screen
    // with its end: lines are broken between characters where they pass
    // maxWidth, measured as the tip draws them.
    const QFontMetrics metrics(QToolTip::font());
    QStringList lines;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype lineStart = 0, previous = 0;
    int width = 0;
    for (qsizetype at = graphemes.toNextBoundary(); at > 0; at = graphemes.toNextBoundary()) {
        const int advance = metrics.horizontalAdvance(text.mid(previous, at - previous));
        if (width + advance > maxWidth && previous > lineStart) {
            lines << text.mid(lineStart, previous - lineStart);
            lineStart = previous;
            width = 0;
        }
        width += advance;
        previous = at;
    }
    lines << text.mid(lineStart);
    // Escaped, so that a name such as "<b>x</b>" is never shown as markup.
    for (QString &line : lines)
        line = line.toHtmlEscaped();
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(lines.join(u"<br>"));
}

bool showFullText(QAbstractItemView *view, QHelpEvent *event)
{
    const QModelIndex index = view->indexAt(event->pos());
    if (index.isValid() && isCutOff(view, index)) {
        // Within the screen, with room for the tip's frame and margins.
        const int maxWidth = view->screen()->availableGeometry().width() * 3 / 4;
        QToolTip::showText(event->globalPos(),
            plainToolTip(index.data(Qt::DisplayRole).toString(), maxWidth), view->viewport(),
            view->visualRect(index));
    } else {
        QToolTip::hideText();
    }
    return true;
}

bool selectFirstRowOnDown(QAbstractItemView *view, QKeyEvent *event)
{
    QAbstractItemModel *model = view->model();
    if (event->key() != Qt::Key_Down || (event->modifiers() & ~Qt::KeypadModifier)
        || view->selectionModel()->hasSelection() || !model || model->rowCount() == 0)
        return false;
    const int column = std::max(view->currentIndex().column(), 0);
    view->selectionModel()->setCurrentIndex(
        model->index(0, column), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(view->currentIndex());
    event->accept();
    return true;
}

bool isMenuKey(const QKeyEvent *event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
        || (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

QPoint keyboardMenuPosition(const QAbstractItemView *view)
{
    const QWidget *viewport = view->viewport();
    const QRect row = view->visualRect(view->currentIndex());
    if (row.isValid() && viewport->rect().contains(row.center()))
        return viewport->mapToGlobal(QPoint(row.left() + row.height(), row.bottom()));
    return viewport->mapToGlobal(QPoint(0, 0));
}

QAction *addCommand(QMenu *menu, const QString &text, const QKeySequence &shortcut,
    const std::function<void()> &triggered)
{
    QAction *action = menu->addAction(text);
    action->setShortcut(shortcut);
    // The list handles the key itself; the item must not take it over while the menu is closed.
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setShortcutVisibleInContextMenu(true);
    QObject::connect(action, &QAction::triggered, menu, triggered);
    return action;
}

QString menuText(const QString &shown, const QMenu *menu)
{
    // About a third of a screen: an extension may be a whole name long.
    return menu->fontMetrics()
        .elidedText(shown, Qt::ElideMiddle, menu->fontMetrics().averageCharWidth() * 40)
        .replace(u'&', QStringLiteral("&&"));
}

} // namespace ListCues
