// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QList>

class FileList;
class QAction;
class QWidget;

// The window's commands, one QAction each, made with their texts, keys and
// tool tips: the button that shows a command, its keys and every menu that
// offers it share the action, so that all agree on what it says and whether
// it is enabled. Keys that act in the whole window are the window's; Delete
// belongs to each list, which the window adds its Remove to.
struct WindowCommands
{
    Q_DECLARE_TR_FUNCTIONS(WindowCommands)

public:
    // Made as children of window; Undo and Redo are the file list's own, and
    // the commands that are the list's work alone (Read Folders Again, the
    // extension's removals, Copy All) go to it straight.
    WindowCommands(QWidget *window, FileList *files);

    QAction *addFolder;
    QAction *chooseFolder; // a folder itself, not by a file in it
    QAction *removeFolder;
    QAction *readAgain; // the folders read again, as they are on the disk now
    QAction *includeSubfolders; // checkable: the folder list's menu checks it per entry
    QAction *includeAllSubfolders; // every entry's, as the empty list offers
    QAction *useParent; // the entry replaced by its parent, sub-folders included
    QAction *removeFile;
    QAction *removeExtension; // the file list's menu sets its text and extension
    QAction *keepExtension;
    QAction *copyAllNames;
    QAction *copyAllPaths;
    QAction *undo;
    QAction *redo;
    QAction *save;
    QAction *info;
    QAction *close;

    // The commands that act on the file list's rows as they are, which are
    // refused while a rebuild, sort or removal changes them.
    QList<QAction *> onRows() const { return { removeFile, removeExtension, keepExtension, save }; }
};
