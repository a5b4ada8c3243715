// SPDX-License-Identifier: MIT
#pragma once

#include "core/emptylisting.h"
#include "core/folderlisting.h"
#include "core/listandsort.h"
#include "core/textexport.h"

#include <QList>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class FileListModel;
class ListWork;
class QAction;
class FolderChange;
class UndoHistory;
class WorkStatus;

// The file list and all the work on it: the folders it lists, its model, the
// rebuilds, sorts and removals (on workers, one at a time), the undo history
// of the folder changes and removals, and the copies of the whole list.
// Whoever shows the list hears from it when it is busy and when its folders
// change, and never starts work itself; a save takes the rows as they are
// (see SaveQueue). Commands that would change the rows while it is busy are
// refused, and its Undo and Redo actions are disabled meanwhile.
class FileList : public QObject
{
    Q_OBJECT

public:
    explicit FileList(QObject *parent = nullptr);
    ~FileList() override;

    FileListModel *model() const { return m_model; }

    // A rebuild, sort or removal runs; see busyChanged().
    bool isBusy() const;
    // What the commands on the list depend on, as it is now; stateChanged()
    // says when any of it may have changed.
    struct State
    {
        bool busy = false;
        bool hasRows = false;
        bool hasFolders = false;
        bool canUndo = false;
        bool canRedo = false;
    };
    State state() const;

    // How folders are read; the default is listFolder() and FolderWalk.
    void setFolderReaders(FolderReaders readers);

    // The folders listed, in order, each with its sub-folders or not.
    const ListedFolders &folders() const { return m_folders; }
    // Lists every file of folders, in order (and of their sub-folders where
    // asked, each named by its path from its folder), and shows them sorted as now:
    // one step in the undo history, which brings the folders and rows before
    // it back, removals and order and all. A rebuild still running is stopped
    // and replaced, in the same step; one asked for while rows are being
    // taken out or put back starts once they are. The rows change, whole,
    // when it ends.
    void rebuild(const ListedFolders &folders);
    // Reads the folders again, as they are on the disk now: a rebuild.
    void refresh() { rebuild(m_folders); }
    // What a click on column header 1 "File Name" or 2 "Extension" does.
    void sort(int columnHeader);
    // Stops a rebuild, keeping the folders read in full, or a sort, keeping
    // the order; a removal is too short to stop.
    void cancel();

    // Removes the rows at display positions, in one undo step. As the
    // file list's "Remove" does, it never removes the last remaining row: a
    // list of one row stays, and where every row is given, the one at keep
    // stays.
    void removeRows(const std::vector<uint32_t> &positions, int keep);
    // Removes every row whose extension is like extension (letter case
    // aside), or with keep every other row, in one undo step.
    void removeExtension(const QByteArray &extension, bool keep);
    // Undo and redo the last folder change or removal; refused while busy.
    // The history is bounded by its steps and by the memory they hold (see
    // UndoHistory).
    void undo();
    void redo();
    // The undo history, for its figures; a lower budget lets tests reach it.
    const UndoHistory &history() const { return *m_history; }
    void setHistoryBudget(qsizetype bytes);

    // Puts every row's name or path on the clipboard, one a line, once a
    // worker has written them; a newer copy replaces one under way, and an
    // empty list leaves the clipboard alone.
    void copyAll(ListText what);

signals:
    // The folders listed changed: by a rebuild, an undo or a redo.
    void foldersChanged(const ListedFolders &folders);
    // A rebuild, sort or removal began, or all of them ended.
    void busyChanged(bool busy);
    // Something of state() may have changed.
    void stateChanged();
    // A rebuild or sort began, which may take a while; status tells where it is.
    void workStarted(const std::shared_ptr<const WorkStatus> &status);
    // A rebuild's rows are shown; the folders it could not list, and why.
    void rebuilt(const QList<ListingFailure> &failures);
    // After rebuilt(), when no row came of folders: why, once known.
    void listedNothing(EmptyListing why);
    // The rows have too many sort key bytes to sort: they keep their order.
    void cannotSort();

private:
    friend class FolderChange;
    void setBusy(bool busy);
    // What a folder change does: shows folders with rows made before, or
    // lists them, telling change the rows it made.
    void show(const ListedFolders &folders, const FileArrangement &rows);
    void listFolders(const ListedFolders &folders, FolderChange *change);
    void setFolders(const ListedFolders &folders);
    // Finds out on a worker why the rebuild just shown has no rows.
    void explainEmpty(const QList<ListingFailure> &failures);

    FileListModel *m_model;
    ListWork *m_work;
    // Refuses Undo and Redo while the list is busy.
    UndoHistory *m_history;
    ListedFolders m_folders;
    // The change whose listing runs, to be told its rows.
    FolderChange *m_listing = nullptr;
    // A rebuild asked for while rows are being taken out or put back.
    std::optional<ListedFolders> m_rebuildAfterChange;
    QObject *m_copy = nullptr; // the copy under way
};
