// SPDX-License-Identifier: MIT
#pragma once

#include "core/listandsort.h"
#include "core/listwork.h"
#include "core/savegiveup.h"
#include "core/textexport.h"
#include "window/droprules.h"

#include <QFutureWatcher>
#include <QHash>
#include <QWidget>

#include <memory>

class CommonDialog;
class FileListView;
class FolderListWidget;
class QLabel;
class QAction;
class QMessageBox;
class QPushButton;
class QUndoStack;
class WorkProgress;

// The program's one window: the folder list, the file list derived from it,
// and the commands that add and remove folders and rows, sort, save, inform
// and close. Its layout is fixed design data, in twips like the rest of it.
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

    // Whether a rebuild or a sort is running. Save, the file list's Remove
    // and the column headers do nothing meanwhile.
    bool isBusy() const { return m_list->isBusy(); }

    // Writes the file list, as it is now, to target on a worker; a failure is
    // reported in a warning when it ends. What Save does after its dialog.
    void saveList(const QString &target);
    bool isSaving() const { return !m_saves.isEmpty(); }
    // Lets saves still running end, and reports their failures, for at most
    // milliseconds: a save the user asked for is not dropped at exit unless
    // its disk hangs.
    void finishSaves(int milliseconds);
    // Gives up the saves still running, as the program ends without them,
    // and says for each what is left on the disk; empty when none was running.
    QStringList giveUpSaves();
    // Whether every save started ended well: the program's exit status.
    bool allSavesEnded() const { return m_savesFailed == 0 && !isSaving(); }

    // Adds the paths given on the command line, as bytes, by the drop rules,
    // and lists them; what adds nothing is named in one warning.
    void addPaths(const QList<QByteArray> &paths);

    // How folders are read; the default is listFolder().
    void setFolderReader(FolderReader reader) { m_list->setFolderReader(std::move(reader)); }
    // How saves sync and rename; tests hold or fail them.
    void setSaveHooks(const SaveHooks &hooks) { m_saveHooks = hooks; }

protected:
    void changeEvent(QEvent *event) override;
    // Closing while a save runs waits for it, as Close does.
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
    // Bulk removals, done by the file list's menu; each is undone whole.
    void removeFilesWithExtension(const QByteArray &extension);
    void keepFilesWithExtension(const QByteArray &extension);

private:
    void rebuilt(const QList<ListingFailure> &failures);
    void workEnded();
    // Adds the folders of a drop or of the command line, then the warning.
    void addDropped(const QList<DropRules::Dropped> &drop, const QString &warning);
    void addShortcuts();
    void enableListCommands(bool enabled);
    void removed(const std::shared_ptr<RemovedRows> &removed);
    void undo();
    void redo();
    void updateHistoryActions();
    void saveEnded(QFutureWatcherBase *saving, SaveResult result);
    void endWhenSaved();

    QLabel *Label1;
    QPushButton *CmdAddFolder;
    QPushButton *CmdDelFolder;
    FolderListWidget *ListFolder;
    QLabel *Label2;
    QPushButton *CmdDelList;
    FileListView *LvFiles;
    QPushButton *CmdSaveTXT;
    QPushButton *Command2;
    QPushButton *Command1;
    CommonDialog *CommonDialog1;

    // Rebuilds, sorts and bulk removals, on workers.
    ListWork *m_list;
    WorkProgress *m_progress;
    // Removals since the last rebuild, to undo and redo.
    QUndoStack *m_history;
    QAction *m_undo;
    QAction *m_redo;
    struct RunningSave
    {
        QString target;
        std::shared_ptr<SaveGiveUp> giveUp;
    };
    QHash<QFutureWatcherBase *, RunningSave> m_saves;
    int m_savesFailed = 0;
    SaveHooks m_saveHooks;
    // Shown after Close while a save runs; closes itself when the saves end.
    QMessageBox *m_waitingForSaves = nullptr;
};
