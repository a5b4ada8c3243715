// SPDX-License-Identifier: MIT
#include "window/windowcommands.h"

#include "core/displaytext.h"
#include "list/filelist.h"
#include "widgets/listcues.h"

#include <QAction>
#include <QHeaderView>
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
    , undo(command(window, tr("&Undo"), QString(), { QKeySequence::Undo }))
    , redo(command(window, tr("Re&do"), QString(),
          { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) }))
    , save(command(window, tr("Save List to TXT File"), tr("Save List to TXT File"),
          { QKeySequence(Qt::CTRL | Qt::Key_S) }))
    , info(command(window, tr("Info"), tr("Info"), { QKeySequence(Qt::Key_F1) }))
    , close(command(window, tr("Close"), tr("Close"),
          { QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::CTRL | Qt::Key_W) }))
{
    includeSubfolders->setCheckable(true);
    QObject::connect(undo, &QAction::triggered, files, &FileList::undo);
    QObject::connect(redo, &QAction::triggered, files, &FileList::redo);
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
    QObject::connect(
        files, &FileList::stateChanged, window, [this, files] { follow(files->state()); });
    follow(files->state());
}

void WindowCommands::offerExtension(const QByteArray &extension, const QMenu *menu)
{
    // As the Extension column shows it.
    const QString shown = ListCues::menuText(displayText(extension), menu);
    removeExtension->setText(extension.isEmpty() ? tr("Remove &All Files Without Extension")
                                                 : tr("Remove &All .%1 Files").arg(shown));
    keepExtension->setText(extension.isEmpty() ? tr("&Keep Only Files Without Extension")
                                               : tr("&Keep Only .%1 Files").arg(shown));
    removeExtension->setData(extension);
    keepExtension->setData(extension);
}

void WindowCommands::follow(const FileList::State &list)
{
    // Rows about to be replaced or reordered are not saved, trimmed or sorted.
    for (QAction *onRows : { removeFile, removeExtension, keepExtension, save })
        onRows->setEnabled(!list.busy);
    if (sortHeader)
        sortHeader->setSectionsClickable(!list.busy);
    // An empty list leaves the clipboard alone; no folder, nothing to read again.
    copyAllNames->setEnabled(list.hasRows);
    copyAllPaths->setEnabled(list.hasRows);
    readAgain->setEnabled(list.hasFolders);
    // The history refuses while busy, so says it cannot then.
    undo->setEnabled(list.canUndo);
    redo->setEnabled(list.canRedo);
}
