// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/dialogkind.h"

#include <QList>
#include <QString>
#include <QStringList>

class QFileDialog;
class QFileSystemModel;
class QWidget;

// Qt's own file dialog, made for one showing and set up so that a large
// folder costs the window as little as it can: each file's icon and type by
// its suffix (FileTypes), rows of one height, no completion of typed names,
// and no reading of the folder that the last dialog showed. Qt's shared
// settings (QtProject, read by every Qt program) are left as Qt's own dialog
// leaves them. Even so, a folder of a million files keeps the thread the
// dialog runs on busy for long.
namespace QtFileDialog {

// A dialog over parent (none: a window of its own) of kind: to open an
// existing file; to name a file to write, asking before an existing one is
// replaced; or to choose an existing folder, showing folders only. It opens
// in folder with selected chosen in it, and offers nameFilters ("Text File
// (*.txt)"), every file when there are none. Writes folder to Qt's shared
// settings first, as the last one a dialog showed.
QFileDialog *make(QWidget *parent, DialogKind kind, const QString &folder, const QString &selected,
    const QStringList &nameFilters);

// Shows the dialog modally until it is answered; the path chosen, or empty.
QString answer(QFileDialog *dialog);

// Deletes a closed dialog but not its folder models, which are returned
// without a parent and watching nothing: see ModelDisposal for why and for
// where they go.
QList<QFileSystemModel *> deleteAllButModels(QFileDialog *dialog);

// In this process: a dialog made, answered and deleted at once, its folder
// models freed by ModelDisposal. The path chosen, or empty.
QString choose(QWidget *parent, DialogKind kind, const QString &folder, const QString &selected,
    const QStringList &nameFilters);

} // namespace QtFileDialog
