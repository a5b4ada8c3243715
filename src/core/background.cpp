// SPDX-License-Identifier: MIT
#include "core/background.h"

#include "core/filerows.h"

#include <QMutexLocker>
#include <QPromise>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

WorkStatus::Phase WorkStatus::phase() const
{
    const QMutexLocker lock(&m_mutex);
    return m_phase;
}

QString WorkStatus::folder() const
{
    const QMutexLocker lock(&m_mutex);
    return m_folder;
}

void WorkStatus::startFolder(const QString &folder)
{
    const QMutexLocker lock(&m_mutex);
    m_folder = folder;
    m_phase = Listing;
}

void WorkStatus::startSorting()
{
    const QMutexLocker lock(&m_mutex);
    m_phase = Sorting;
}

QList<ListingFailure> listFolders(
    const QStringList &folders, const FolderReader &reader, FileRows &rows, WorkStatus &status)
{
    QList<ListingFailure> failures;
    const BeforeRead beforeRead = [&status](qsizetype found) {
        status.setFilesFound(found);
        return !status.stopRequested();
    };
    for (const QString &folder : folders) {
        if (status.stopRequested()) {
            failures.append({ folder, listingCancelled() });
            continue;
        }
        status.startFolder(folder);
        QString reason;
        if (!reader(folder, rows, &reason, beforeRead))
            failures.append({ folder, reason });
        status.setFilesFound(rows.size());
    }
    return failures;
}

QFuture<Rebuilt> rebuildInBackground(const QStringList &folders, const FolderReader &reader,
    const SortState &state, const std::shared_ptr<WorkStatus> &status, qsizetype keyLimit)
{
    return QtConcurrent::run(workerPool(), [folders, reader, state, status, keyLimit] {
        FileRows rows;
        Rebuilt rebuilt;
        rebuilt.files.keyLimit = keyLimit;
        rebuilt.failures = listFolders(folders, reader, rows, *status);
        status->startSorting();
        // Once listed, the rows are arranged even after a stop: the window shows them.
        arrangeRows(rebuilt.files, std::move(rows), state);
        return rebuilt;
    });
}

QFuture<FileArrangement> sortInBackground(
    FileArrangement files, const SortState &to, const std::shared_ptr<WorkStatus> &status)
{
    return QtConcurrent::run(
        workerPool(),
        [to, status](QPromise<FileArrangement> &promise, FileArrangement files) {
            status->startSorting();
            const StopRequested stopped = [&status] { return status->stopRequested(); };
            if (!changeSortState(files, to, stopped))
                return;
            if (!stopped())
                promise.addResult(std::move(files));
        },
        std::move(files));
}

QThreadPool *workerPool()
{
    // Never deleted: deleting a pool waits for its threads.
    static QThreadPool *const pool = [] {
        auto *threads = new QThreadPool;
        // Each read stuck on a hung mount holds a thread; the rest must go on.
        threads->setMaxThreadCount(64);
        return threads;
    }();
    return pool;
}

int runningWorkers()
{
    return workerPool()->activeThreadCount();
}
