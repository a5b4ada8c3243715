// SPDX-License-Identifier: MIT
#pragma once

#include "list/filelist.h"

#include <QCoreApplication>
#include <QList>

class QAction;
class QHeaderView;
class QMenu;
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
    // Made as children of window; the commands that are the list's work
    // alone (Undo, Redo, Read Folders Again, the extension's removals, Copy
    // All) go to it straight. Every command's enabled state follows the
    // list's (follow()) from then on.
    WindowCommands(QWidget *window, FileList *files);

    // The one place that maps the list's state to what the commands allow,
    // the column headers' sort included: the buttons, keys and menus follow
    // their commands.
    void follow(const FileList::State &list);
    // The file list's column headers, whose clicks sort it.
    QHeaderView *sortHeader = nullptr;
    // The extension's removals, named for extension, as they are offered in menu.
    void offerExtension(const QByteArray &extension, const QMenu *menu);

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
};
