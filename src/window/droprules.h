// SPDX-License-Identifier: MIT
#pragma once

#include "window/messages.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class QDropEvent;
class QMimeData;

// What the window takes from a drag: dropped folders, and the folders of
// dropped files, added as "Add" adds them. Plain functions, so that the rules
// can be checked without a window.
namespace DropRules {

// Whether a drag of urls offering actions may be dropped: any urls, so that
// those that add nothing are named in the warning, but never as a move, since
// the file manager must not delete what it dragged here. The drop is then
// taken as a copy.
bool acceptsDrop(const QList<QUrl> &urls, Qt::DropActions actions);
bool acceptsDrop(const QMimeData *data, Qt::DropActions actions);
// Accepts a drag over the window, or its drop, as a copy where acceptsDrop()
// says so, else ignores it; whether it was accepted.
bool takeDrop(QDropEvent *event);

// What one dropped url stands for: the folder it adds, or why it adds nothing.
struct Dropped
{
    // The folder to add; empty when refused.
    QString folder;
    // What was dropped, as bytes to be shown by the display rules.
    QByteArray dropped;
    // Why nothing is added for it; null when folder is set.
    QString reason;

    bool isRefused() const { return folder.isEmpty(); }
};

// A dropped folder stands for itself, its path without empty or "." parts
// (".." is kept); a dropped regular file for its folder. Anything else (a
// url that is no file, a path that does not exist or is too long, one on
// another computer, one that is
// neither a folder nor a regular file, a folder whose name the folder list
// cannot hold as text) is refused with its reason, and never stands for its
// parent. Asks the file system once, by the path's exact bytes.
Dropped examine(const QUrl &url);

// Every url of a drop examined, in order.
QList<Dropped> examine(const QList<QUrl> &urls);

// Paths given on the command line, as their bytes, examined as dropped
// urls are; a relative path is taken from the working folder. An empty
// path names nothing. An address ("file:///home/ann/Photos",
// "smb://server/share": a scheme and "//", or "file:/") is examined as the
// drop of that url: a file address percent-decoded to its path's bytes, any
// other named as a drop of it is; a path that merely holds a ":" stays a path.
QList<Dropped> examinePaths(const QList<QByteArray> &paths);

// Where the entries came from, which the warning says.
enum Source { Drop, CommandLine };

// The one warning for the refused entries of a drop, each named with its
// reason (the first few in its text, all in its details); null when none
// was refused.
Messages::Warning refusalWarning(const QList<Dropped> &drop, Source source = Drop);

} // namespace DropRules
