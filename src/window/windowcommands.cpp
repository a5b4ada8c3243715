// SPDX-License-Identifier: MIT
#include "window/windowcommands.h"

#include "list/filelist.h"

#include <QAction>
#include <QKeySequence>
#include <QStringList>
#include <QWidget>

namespace {

// A command with keys; its tool tip names what it does and its keys, as
// "Add Folder (Ctrl+O)".
QAction *command(QWidget *window, const QString &text, const QString &tip,
    const QList<QKeySequence> &keys, Qt::ShortcutContext context = Qt::WindowShortcut)
{
    auto *action = new QAction(text, window);
    action->setShortcuts(keys);
    action->setShortcutContext(context);
    action->setShortcutVisibleInContextMenu(true);
    if (!tip.isEmpty()) {
        QStringList named;
        for (const QKeySequence &key : keys)
            named << key.toString(QKeySequence::NativeText);
        //: A button's tool tip: what it does, then its keys, e.g. "Add Folder (Ctrl+O)".
        action->setToolTip(
            WindowCommands::tr("%1 (%2)").arg(tip, named.join(WindowCommands::tr(", "))));
    }
    if (context == Qt::WindowShortcut && !keys.isEmpty())
        window->addAction(action);
    return action;
}

} // namespace

WindowCommands::WindowCommands(QWidget *window, FileList *files)
    : addFolder(
        command(window, tr("Add Folder"), tr("Add Folder"), { QKeySequence(Qt::CTRL | Qt::Key_O) }))
    , chooseFolder(command(window, tr("Choose &Folder…"), tr("Choose Folder"),
          { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O) }))
    , removeFolder(command(
          window, tr("&Remove"), tr("Remove Folder"), { QKeySequence::Delete }, Qt::WidgetShortcut))
    , readAgain(command(
          window, tr("Read Folders &Again"), tr("Read Folders Again"), { QKeySequence::Refresh }))
    , includeSubfolders(command(window, tr("Include &Sub-folders"), QString(), {}))
    , includeAllSubfolders(command(window, tr("Include Sub-folders"), QString(), {}))
    , useParent(command(window, tr("Use &Parent Folder"), QString(), {}))
    , removeFile(command(
          window, tr("&Remove"), tr("Remove File"), { QKeySequence::Delete }, Qt::WidgetShortcut))
    , removeExtension(command(window, QString(), QString(), {}))
    , keepExtension(command(window, QString(), QString(), {}))
    , copyAllNames(command(window, tr("Copy All &Names"), QString(), {}))
    , copyAllPaths(command(window, tr("Copy All &Paths"), QString(), {}))
    , undo(files->createUndoAction(window))
    , redo(files->createRedoAction(window))
    , save(command(window, tr("Save List to TXT File"), tr("Save List to TXT File"),
          { QKeySequence(Qt::CTRL | Qt::Key_S) }))
    , info(command(window, tr("Info"), tr("Info"), { QKeySequence(Qt::Key_F1) }))
    , close(command(window, tr("Close"), tr("Close"),
          { QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::CTRL | Qt::Key_W) }))
{
    includeSubfolders->setCheckable(true);
    // Nothing to read again until a folder is listed.
    readAgain->setEnabled(false);
    QObject::connect(files, &FileList::foldersChanged, readAgain,
        [action = readAgain](
            const ListedFolders &folders) { action->setEnabled(!folders.isEmpty()); });
    undo->setShortcut(QKeySequence::Undo);
    redo->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    for (QAction *history : { undo, redo }) {
        history->setShortcutContext(Qt::WindowShortcut);
        history->setShortcutVisibleInContextMenu(true);
        window->addAction(history);
    }
    QObject::connect(readAgain, &QAction::triggered, files, &FileList::refresh);
    for (QAction *byExtension : { removeExtension, keepExtension }) {
        // The file list's menu gives it the extension of the row it opens on.
        QObject::connect(byExtension, &QAction::triggered, files,
            [files, byExtension, keep = byExtension == keepExtension] {
                files->removeExtension(byExtension->data().toByteArray(), keep);
            });
    }
    QObject::connect(
        copyAllNames, &QAction::triggered, files, [files] { files->copyAll(ListText::Names); });
    QObject::connect(
        copyAllPaths, &QAction::triggered, files, [files] { files->copyAll(ListText::Paths); });
}
