// SPDX-License-Identifier: MIT
#pragma once

#include "core/listedfolder.h"
#include "widgets/cueinglist.h"

#include <QHash>
#include <QListWidget>

// The folder list: a plain list box of folder paths in the order added,
// single selection, which also shows where the focus is and shows a path that
// does not fit in a tool tip.
// Each entry keeps its exact path and shows it by the file list's display
// rules, so that a line feed in a name cannot make one folder look like two;
// an entry whose sub-folders are listed too says so after its path.
// Entries are added through addFolder() only.
class FolderListWidget : public CueingList<QListWidget>
{
    Q_OBJECT

public:
    explicit FolderListWidget(QWidget *parent = nullptr);
    ~FolderListWidget() override;

    // Appends path, taken without trailing separators, unless an entry is
    // exactly that path (case and all);
    // returns whether it did. O(1) on average, so that a drop of thousands of
    // folders onto thousands does not freeze the window.
    bool addFolder(const QString &path, bool subfolders = false);
    // The exact path of the entry at row.
    QString folderPath(int row) const;
    // Every entry, in list order.
    ListedFolders folders() const;
    // Holds exactly folders, as addFolder() adds them, unless it does already.
    void setFolders(const ListedFolders &folders);

    // Lists the selected entry's sub-folders too, or no longer; whether that
    // changed anything.
    bool includeSubfolders(bool include);
    // Replaces the selected entry by its parent folder with its sub-folders,
    // or where the parent is listed already, includes its sub-folders and
    // drops the entry: a folder holding only sub-folders is added by picking
    // a file further down. Whether that changed anything; a root has no parent.
    bool useParentFolder();

    // The window's commands for the menu; null leaves one out. The menu
    // checks includeSubfolders for the entry it is opened on, and enables
    // useParent where the entry has a parent; these two act on the selected
    // entry, as the functions above, and say so in entriesEdited().
    struct Commands
    {
        QAction *remove = nullptr;
        QAction *chooseFolder = nullptr;
        QAction *readAgain = nullptr;
        QAction *includeSubfolders = nullptr;
        QAction *useParent = nullptr;
    };
    void setCommands(const Commands &commands);

signals:
    // "Open in File Manager" found nothing to open the folder with.
    void openFailed(const QString &path);
    // Include Sub-folders or Use Parent Folder changed the entries.
    void entriesEdited();

protected:
    // The selected folder's exact path, with the platform's separators.
    QString copiedText() const override;
    // On a row: the window's "Remove", "Copy Path", "Open in File Manager";
    // then, on a row or not, the window's "Choose Folder" and "Read Folders
    // Again".
    void fillMenu(QMenu *menu, const QModelIndex &index) override;

private:
    void countPaths(int first, int last, int change);
    // The selected entry's row, or -1.
    int selectedRow() const;
    void setSubfolders(QListWidgetItem *entry, bool subfolders);

    // How many entries hold each path, kept by the model's own signals, so
    // that entries taken, removed or cleared by any of QListWidget's calls
    // leave it too.
    QHash<QString, int> m_paths;
    Commands m_commands;
    QAction *m_copyPath;
};
