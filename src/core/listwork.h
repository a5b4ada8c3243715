// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/folderlisting.h"
#include "core/listandsort.h"
#include "core/workstatus.h"

#include <QObject>

#include <memory>

class FileListModel;
class QFutureWatcherBase;

// The work behind the file list: rebuilds, sorts and bulk removals, one at a
// time, each prepared on a worker and handed to the model in one swap on the
// owner's thread. The window calls it and shows what it says; its own
// commands come back on ended(). A rebuild replaces whatever runs; the other
// work is refused while something runs.
class ListWork : public QObject
{
    Q_OBJECT

public:
    explicit ListWork(FileListModel *files, QObject *parent = nullptr);
    // Stops what runs without waiting for it.
    ~ListWork() override;

    // How folders are read; the default is listFolder().
    void setFolderReader(FolderReader reader) { m_reader = std::move(reader); }

    bool isBusy() const { return m_work != nullptr; }
    // The running work's status, for a progress display.
    const std::shared_ptr<WorkStatus> &status() const { return m_status; }

    // Lists the folders in order and shows their rows, sorted as now.
    void rebuild(const QStringList &folders);
    // What a click on a column header does (1 "File Name", 2 "Extension").
    bool sort(int columnHeader);
    // Takes out the rows of one extension, or with keep all others.
    bool removeExtension(const QByteArray &extension, bool keep);
    // Undoes and redoes a removal that removed() reported.
    bool putBack(const std::shared_ptr<RemovedRows> &removed);
    bool takeAgain(const std::shared_ptr<RemovedRows> &removed);
    // As Esc: a rebuild keeps the folders read in full, a sort keeps the
    // order; a removal, undone or not, is too short to stop and goes on.
    void cancel();

signals:
    // A rebuild or sort began, which may take a while: status() tells where it is.
    void started();
    // The work ended, shown or dropped: the list's commands may come back.
    void ended();
    // A rebuild's rows are shown; removals before it can no longer be undone.
    void rebuilt(const QList<ListingFailure> &failures);
    // The rows have too many sort key bytes to sort: they keep their order.
    void cannotSort();
    // A bulk removal took rows out: the record undoes it.
    void removed(const std::shared_ptr<RemovedRows> &removed);

private:
    enum Kind { Rebuilding, Sorting, Changing };
    template<typename Result, typename Done>
    void start(Kind kind, QFuture<Result> future, Done done);
    void stop();
    void end();
    bool isCurrent(const std::shared_ptr<RemovedRows> &removed) const;

    FileListModel *m_files;
    FolderReader m_reader;
    QFutureWatcherBase *m_work = nullptr;
    Kind m_kind = Rebuilding;
    std::shared_ptr<WorkStatus> m_status;
};
