// SPDX-License-Identifier: MIT
#pragma once

#include "window/droprules.h"
#include "window/windowcommands.h"

#include <QWidget>

class CommandButton;
class ClosingSaves;
class CommonDialog;
class FileList;
class FileListView;
class FolderListWidget;
class ListingNotice;
class QLabel;
class SaveQueue;
class WorkProgress;

// The program's one window: the folder list, the file list derived from it,
// and the commands that add and remove folders and rows, sort, save, inform
// and close. Its layout is fixed design data, in twips like the rest of it.
// The file list and all work on it belong to FileList; the window shows it
// and hands it the user's commands.
class FrmFilenameReader : public QWidget
{
    Q_OBJECT

public:
    explicit FrmFilenameReader(QWidget *parent = nullptr);
    ~FrmFilenameReader() override;

    // Starts rebuilding the file list from every file of every folder in
    // FolderList, folders in list order, and returns at once; a rebuild still
    // running is stopped and replaced. The list changes, whole, when the
    // rebuild ends. Folders that cannot be listed are left out and named, with
    // the system's reason, in one warning afterwards.
    void PopulateListViewWithFiles(const FolderListWidget *FolderList);

    // The file list and its work: rebuilds, sorts, removals.
    FileList *fileList() const { return m_files; }
    // The saves of the list that run.
    SaveQueue *saves() const { return m_saves; }
    // What Save does after its dialog: writes the list, as it is now, to target.
    void saveList(const QString &target);

    // Adds the paths given on the command line, as bytes, by the drop rules,
    // and lists them; what adds nothing is named in one warning.
    void addPaths(const QList<QByteArray> &paths);

protected:
    void changeEvent(QEvent *event) override;
    // Closing ends a file dialog that another process shows (as the
    // program's end does, see DialogWait), and, while a save runs, waits for
    // it, as Close does.
    void closeEvent(QCloseEvent *event) override;
    // Dropped folders, and the folders of dropped files, are added as "Add" adds them.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void CmdAddFolder_Click();
    void CmdDelFolder_Click();
    void CmdDelList_Click();
    void LvFiles_ColumnClick(int ColumnHeader);
    void CmdSaveTXT_Click();
    void Command1_Click();
    void Command2_Click();

private:
    void createControls();
    // The design's rectangles and focus order.
    void layOut();
    // What the list's work and the saves tell, shown.
    void connectWork();
    void connectCommands();
    // Adds the folders of a drop or of the command line, then the warning.
    void addDropped(const QList<DropRules::Dropped> &drop, const Messages::Warning &warning);
    // Choose Folder: the folder itself, empty or not, picked in a dialog of folders.
    void chooseFolder();
    // What Add does after its dialog: adds folder, if any, and lists the folders.
    void addFolder(const QString &folder);
    // The empty list's offer: every folder listed with its sub-folders.
    void includeSubfolders();

    QLabel *Label1;
    CommandButton *CmdAddFolder;
    CommandButton *CmdDelFolder;
    FolderListWidget *ListFolder;
    QLabel *Label2;
    CommandButton *CmdDelList;
    FileListView *LvFiles;
    CommandButton *CmdSaveTXT;
    CommandButton *Command2;
    CommandButton *Command1;
    CommonDialog *CommonDialog1;

    FileList *m_files;
    SaveQueue *m_saves;
    ClosingSaves *m_closing;
    WindowCommands m_commands;
    WorkProgress *m_progress;
    ListingNotice *m_notice;
};
