// SPDX-License-Identifier: MIT
#pragma once

#include <QKeySequence>

#include <functional>

class QAbstractItemView;
class QAction;
class QHelpEvent;
class QKeyEvent;
class QMenu;
class QModelIndex;
class QPoint;
class QString;

// What both lists show and do alike: where the focus is, the full text of a
// cut-off entry, where the first Down arrow goes, and their context menus.
// CueingList (cueinglist.h) calls these for both.
namespace ListCues {

// While the view has the focus, frames the current row across the view's
// width (or the empty view's area), so that the focus shows whatever the
// style draws and also on a selected row. Call after the view has painted.
void paintFocusFrame(QAbstractItemView *view);

// Whether an entry's shown text is cut off: elided in its cell, or scrolled
// partly out of the view.
bool isCutOff(const QAbstractItemView *view, const QModelIndex &index);

// Answers a tool tip request: the whole shown text of the entry under the
// pointer, only when it is cut off. Always handles the event.
bool showFullText(QAbstractItemView *view, QHelpEvent *event);

// The shown text as a tool tip that Qt never reads as markup, in lines no
// wider than maxWidth pixels.
QString plainToolTip(const QString &text, int maxWidth);

// With nothing selected, Down selects the first row: the view's own current
// row, set invisibly when it got the focus, would make it select the second.
// Returns whether it handled the key.
bool selectFirstRowOnDown(QAbstractItemView *view, QKeyEvent *event);

// Whether the key asks for the context menu: the Menu key or Shift+F10.
bool isMenuKey(const QKeyEvent *event);

// Where a menu opened by the keyboard shows, in global coordinates: below the
// current row when it is in sight, else at the view's top left.
QPoint keyboardMenuPosition(const QAbstractItemView *view);

// Appends an item that calls triggered, showing its shortcut, which the list
// itself handles: the item only names it.
QAction *addCommand(QMenu *menu, const QString &text, const QKeySequence &shortcut,
    const std::function<void()> &triggered);

// Shown text as it may stand in a menu item: "&" is no mnemonic, and a
// long text is cut short in the middle.
QString menuText(const QString &shown, const QMenu *menu);

} // namespace ListCues
