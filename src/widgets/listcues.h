// SPDX-License-Identifier: MIT
#pragma once

class QAbstractItemView;
class QHelpEvent;
class QKeyEvent;
class QModelIndex;
class QString;

// What both lists show and do alike: where the focus is, the full text of a
// cut-off entry, and where the first Down arrow goes.
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

} // namespace ListCues
