// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/folderlisting.h"
#include "core/listandsort.h"
#include "core/pickedplace.h"
#include "core/workstatus.h"

#include <QObject>

#include <functional>
#include <memory>

class FileListModel;
class QFutureWatcherBase;

// The work on the file list's rows: rebuilds, sorts and changes, one at a
// time, each prepared on a worker and handed to the model in one swap on
// the owner's thread. A rebuild replaces whatever runs; other work is
// refused while something runs.
class ListWork : public QObject
{
    Q_OBJECT

public:
    explicit ListWork(FileListModel *files, QObject *parent = nullptr);
    // Stops what runs without waiting for it.
    ~ListWork() override;

    // How folders are read; the default is listFolder() and FolderWalk.
    void setFolderReaders(FolderReaders readers) { m_readers = std::move(readers); }

    bool isBusy() const { return m_busy; }
    // Whether rows are being taken out or put back, which nothing replaces.
    bool isChanging() const { return isBusy() && m_kind == Changing; }
    // The running rebuild's or sort's status, for a progress display.
    const std::shared_ptr<WorkStatus> &status() const { return m_status; }

    // Lists the folders in order and shows their rows, sorted as now; a
    // rebuild or sort that runs is replaced. Not while isChanging(). Rows
    // found the same as like's share its storage.
    void rebuild(const ListedFolders &folders, const FileArrangement &like = {});
    // Shows rows made before, as they were, at once; then selects the rows
    // of the folders named, brought back, or where none are named, the rows
    // picked before that remain.
    void restore(const FileArrangement &rows, const QStringList &broughtBack = {});
    // What a click on a column header does (1 "File Name", 2 "Extension").
    bool sort(int columnHeader);
    // As Esc: a rebuild keeps the folders read in full, a sort keeps the
    // order; a change of rows is too short to stop and goes on.
    void cancel();

    // A removal worked out on a worker: the rows it takes, and the rows
    // shown without them.
    struct Removal
    {
        std::shared_ptr<RemovedRows> removed;
        FileArrangement without;
    };
    using Prepared = std::function<void(Removal)>;
    // Works out which rows have an extension like `extension`, or with keep
    // which have another, and hands them to prepared, while still busy;
    // nothing when none.
    bool prepareRemoval(const QByteArray &extension, bool keep, Prepared prepared);
    // Shows a removal's rows, prepared from the rows shown now, also from
    // prepared().
    void show(FileArrangement without);
    // Takes out a removal's rows, wherever they stand now, noting where they
    // stood; puts them back. What doing and undoing a removal change.
    bool takeAgain(const std::shared_ptr<RemovedRows> &removed);
    bool putBack(const std::shared_ptr<RemovedRows> &removed);

signals:
    // A rebuild or sort began, which may take a while: status() tells where it is.
    void started();
    // Work began, or all work ended, shown or dropped.
    void busyChanged(bool busy);
    // A rebuild's rows are shown.
    void rebuilt(const QList<ListingFailure> &failures);
    // The rows have too many sort key bytes to sort: they keep their order.
    void cannotSort();

private:
    enum Kind { Rebuilding, Sorting, Changing };
    // What is said of work that ended, once the list is free.
    using Told = std::function<void()>;
    // Runs future as the one work of the list; apply(future) puts its rows
    // in place while the list is still busy and returns what to tell then.
    template<typename Result, typename Apply>
    void start(Kind kind, QFuture<Result> future, Apply apply);
    void stop();
    void end();
    // How previews reach this from a worker, with the rows picked found in them.
    ListingPreview::Show previewRelay(const std::shared_ptr<const PickedPlace> &place);
    // Shows a rebuild's rows, a preview or the last, in place of those shown,
    // and picks the rows found in them.
    void showRows(FileArrangement files, qsizetype kept, const PickedPlace::Found &found);
    // Picks what find() finds on a worker in the rows shown now, if they are
    // still shown then and the user has picked nothing meanwhile.
    void pickWhenFound(std::function<PickedPlace::Found()> find, int how);
    bool isCurrent(const std::shared_ptr<RemovedRows> &removed) const;

    FileListModel *m_files;
    FolderReaders m_readers;
    QFutureWatcherBase *m_work = nullptr; // the work running, if any
    Kind m_kind = Rebuilding;
    // From the start of work until its rows are in place, as busyChanged() says.
    bool m_busy = false;
    bool m_previewed = false; // the rows shown are the running rebuild's
    // How previews reach this from a worker, which may outlive it.
    struct Relay;
    std::shared_ptr<Relay> m_relay;
    std::shared_ptr<WorkStatus> m_status;
};
