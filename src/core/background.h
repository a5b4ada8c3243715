// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/folderlisting.h"

#include <QFuture>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class KeysAhead;
class QThreadPool;

// A folder left out of a rebuild, and the reason.
struct ListingFailure
{
    QString folder;
    QString reason;
};

// What a rebuild made: the rows arranged for the sort state it started with,
// and the folders it could not list.
struct Rebuilt
{
    FileArrangement files;
    QList<ListingFailure> failures;
};

// Shared by the window and the worker it started: the worker tells where it
// is, the window shows that and may ask it to stop. Any thread may use it.
class WorkStatus
{
public:
    enum Phase { Listing, Sorting };

    void requestStop();
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }

    Phase phase() const;
    // The folder being read and the files found so far, in all folders.
    QString folder() const;
    qsizetype filesFound() const { return m_files.load(std::memory_order_relaxed); }

    void startFolder(const QString &folder);
    void setFilesFound(qsizetype files) { m_files.store(files, std::memory_order_relaxed); }
    void startSorting();

    // Makes a change under the status's lock and wakes waitUntil().
    void change(const std::function<void()> &change);
    // Waits until done(), checked under the lock, or a stop is asked for;
    // returns done().
    bool waitUntil(const std::function<bool()> &done);

private:
    // The standard's own lock and condition rather than Qt's: ThreadSanitizer
    // sees through them, and Qt's wait is not built for it.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QString m_folder;
    Phase m_phase = Listing;
    std::atomic<qsizetype> m_files = 0;
    std::atomic<bool> m_stop = false;
};

// Lists folders in order through reader, appending to rows. A folder that
// fails, or is stopped half-way, keeps none of its rows and is named in the
// result; once stopped, every folder not yet begun is named too, with
// listingCancelled(), and no further read starts. A stop returns at once even
// while a read is stuck in the system (a hung network mount): each folder is
// read on a task of its own, which is then left to end by itself. The rows
// kept are handed to ahead, when given, as they are read.
QList<ListingFailure> listFolders(const QStringList &folders, const FolderReader &reader,
    FileRows &rows, const std::shared_ptr<WorkStatus> &status,
    const std::shared_ptr<KeysAhead> &ahead = nullptr);

// Lists folders, then arranges their rows for state, on a worker. A stop
// ends the listing; the folders read in full are still arranged and returned.
// Past keyLimit bytes of sort keys they are returned unsorted, state.sorted false.
QFuture<Rebuilt> rebuildInBackground(const QStringList &folders, const FolderReader &reader,
    const SortState &state, const std::shared_ptr<WorkStatus> &status,
    qsizetype keyLimit = FileArrangement().keyLimit);

// Orders files as the sort state `to` says, on a worker. A stop abandons it:
// the future then holds no result.
QFuture<FileArrangement> sortInBackground(
    FileArrangement files, const SortState &to, const std::shared_ptr<WorkStatus> &status);

// The threads that list and sort. Nothing waits for them at exit, since a
// read of a hung network mount may never return: the process may end with
// one still running (see runningWorkers()).
QThreadPool *workerPool();
int runningWorkers();
