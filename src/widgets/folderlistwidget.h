// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/cueinglist.h"

#include <QHash>
#include <QListWidget>
#include <QStringList>

// The folder list: a plain list box of folder paths in the order added,
// single selection, which also shows where the focus is and shows a path that
// does not fit in a tool tip.
// Each entry keeps its exact path and shows it by the file list's display
// rules, so that a line feed in a name cannot make one folder look like two.
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
    bool addFolder(const QString &path);
    // The exact path of the entry at row.
    QString folderPath(int row) const;
    // Every entry's path, in list order.
    QStringList folders() const;
    // Holds exactly paths, as addFolder() adds them, unless it does already.
    void setFolders(const QStringList &paths);

    // The window's Remove and Read Folders Again, for the menu; null leaves
    // either out.
    void setCommands(QAction *remove, QAction *readAgain)
    {
        m_remove = remove;
        m_readAgain = readAgain;
    }

signals:
    // "Open in File Manager" found nothing to open the folder with.
    void openFailed(const QString &path);

protected:
    // The selected folder's exact path, with the platform's separators.
    QString copiedText() const override;
    // On a row: the window's "Remove", "Copy Path", "Open in File Manager";
    // then, on a row or not, the window's "Read Folders Again".
    void fillMenu(QMenu *menu, const QModelIndex &index) override;

private:
    void countPaths(int first, int last, int change);

    // How many entries hold each path, kept by the model's own signals, so
    // that entries taken, removed or cleared by any of QListWidget's calls
    // leave it too.
    QHash<QString, int> m_paths;
    QAction *m_remove = nullptr;
    QAction *m_readAgain = nullptr;
    QAction *m_copyPath;
};
