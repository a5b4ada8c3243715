// SPDX-License-Identifier: MIT
#pragma once

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// The one file dialog of the window, for both opening and saving: set a
// filter, show it modally, then read the chosen path, which is empty when the
// user chose nothing. It opens in the folder of the file last chosen in this
// run, or, when that folder is large, in its parent with the folder selected:
// Qt's dialog reads a folder of a million files for half a minute. The first
// one opens in the home folder. Through the desktop's file chooser portal
// (see PortalDialog) where there is one, else through Qt's own dialog.
//
// Each dialog is made for one showing and is gone when ShowOpen or ShowSave
// returns; what it read of the file system is freed on a thread of its own.
class CommonDialog : public QObject
{
    Q_OBJECT

public:
    explicit CommonDialog(QWidget *parent);

    // "" for every file, or pairs of description and pattern, all separated
    // by "|": "Text File (*.txt)|*.txt".
    QString filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }

    // Qt's name filters for a filter string as above.
    static QStringList nameFilters(const QString &filter);

    void ShowOpen();
    void ShowSave();
    QString FileName() const { return m_fileName; }

    // How many entries make a folder large enough to open the next dialog in
    // its parent.
    static constexpr int DefaultLargeFolder = 5000;
    int largeFolderEntries() const { return m_largeFolder; }
    void setLargeFolderEntries(int entries) { m_largeFolder = entries; }
    // Whether the entries of the folder last chosen have been counted; until
    // then the next dialog opens in that folder.
    bool hasCountedFolder() const { return m_folderIsLarge.isFinished(); }

    // How many closed dialogs' folder models are still being freed, in this
    // process; what they read of the file system is given back at 0.
    static int modelsBeingFreed();

private:
    void show(bool save);
    // Where the next dialog opens, and the entry of it that is selected.
    QString startFolder(QString *selected) const;

    QString m_filter;
    QString m_fileName;
    QString m_folder;
    int m_largeFolder = DefaultLargeFolder;
    // Whether m_folder is large, counted in the background when it was chosen.
    QFuture<bool> m_folderIsLarge;
};
