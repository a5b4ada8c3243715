// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class QMimeData;

// What the window takes from a drag: dropped folders, and the folders of
// dropped files, added as "Add" adds them. Plain functions, so that the rules
// can be checked without a window.
namespace DropRules {

// Whether a drag of urls offering actions may be dropped: only local files
// and folders, all of them, and never as a move, since the file manager must
// not delete what it dragged here. The drop is then taken as a copy.
bool acceptsDrop(const QList<QUrl> &urls, Qt::DropActions actions);
bool acceptsDrop(const QMimeData *data, Qt::DropActions actions);

// A dropped path as "Add" would list its folder: a folder itself, with no
// trailing separator but the root's; any other path, its folder. Asks the
// file system whether path is a folder.
QString droppedFolder(const QString &path);

// The folders that a drop of urls adds, in order; the same folder may come
// more than once.
QStringList droppedFolders(const QList<QUrl> &urls);

} // namespace DropRules
