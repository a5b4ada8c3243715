// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/listcues.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>

// What both lists do alike, written once for the folder list and the file
// list: Ctrl+C copies the selected entry, the first Down selects the first
// row, the focus frame and the tool tip of a cut-off entry (see ListCues),
// and the context menu on a right click, the Menu key or Shift+F10. Each
// list says what these mean for it below. Commands such as Remove are the
// window's actions, which it adds to the list for their keys.
template<typename View> class CueingList : public View
{
public:
    using View::View;

protected:
    // What Ctrl+C copies for the selected row; null copies nothing.
    virtual QString copiedText() const = 0;
    // Fills the context menu for the row at index, invalid when it opened
    // over no row; a menu left empty is not shown.
    virtual void fillMenu(QMenu *menu, const QModelIndex &index) = 0;

    // The list's own Copy command, for its key and its menu: copies the
    // selected entry, as copiedText() gives it.
    QAction *addCopyAction(const QString &text)
    {
        auto *copy = new QAction(text, this);
        copy->setShortcut(QKeySequence::Copy);
        copy->setShortcutContext(Qt::WidgetShortcut);
        copy->setShortcutVisibleInContextMenu(true);
        QObject::connect(copy, &QAction::triggered, this, [this] { copySelected(); });
        this->addAction(copy);
        return copy;
    }

    void copySelected()
    {
        const QString text = copiedText();
        if (!text.isNull())
            QGuiApplication::clipboard()->setText(text);
    }

    // Opens the context menu at a global position, for the row at index. A
    // row clicked outside the selection becomes the selected one; within it,
    // the selection stays: the menu's commands act on the selected rows.
    void showMenu(const QPoint &at, const QModelIndex &index)
    {
        if (index.isValid() && !this->selectionModel()->isRowSelected(index.row(), QModelIndex())) {
            this->selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        auto *menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("ContextMenu"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        fillMenu(menu, index);
        if (menu->isEmpty())
            delete menu;
        else
            menu->popup(at);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (ListCues::isMenuKey(event)) {
            // On the selected row, which Remove and Copy act on.
            const QModelIndexList selected = this->selectionModel()->selectedRows();
            showMenu(ListCues::keyboardMenuPosition(this),
                selected.isEmpty() ? QModelIndex() : selected.first());
            event->accept();
            return;
        }
        if (ListCues::selectFirstRowOnDown(this, event))
            return;
        View::keyPressEvent(event);
    }

    void contextMenuEvent(QContextMenuEvent *event) override
    {
        // The keyboard's request came through keyPressEvent(), on the selected row.
        if (event->reason() == QContextMenuEvent::Keyboard) {
            event->accept();
            return;
        }
        showMenu(event->globalPos(), this->indexAt(event->pos()));
        event->accept();
    }

    void paintEvent(QPaintEvent *event) override
    {
        View::paintEvent(event);
        ListCues::paintFocusFrame(this);
    }

    bool viewportEvent(QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip)
            return ListCues::showFullText(this, static_cast<QHelpEvent *>(event));
        return View::viewportEvent(event);
    }

    void focusInEvent(QFocusEvent *event) override
    {
        View::focusInEvent(event);
        this->viewport()->update();
    }

    void focusOutEvent(QFocusEvent *event) override
    {
        View::focusOutEvent(event);
        this->viewport()->update();
    }

    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        View::currentChanged(current, previous);
        // The focus frame spans the row, wider than the cell Qt repaints.
        this->viewport()->update();
    }
};
