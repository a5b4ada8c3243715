// SPDX-License-Identifier: MIT
#include "core/listandsort.h"

#include "core/displaytext.h"
#include "core/filerows.h"
#include "core/folderwalk.h"
#include "core/heaptuning.h"
#include "core/keysahead.h"
#include "core/workerpool.h"
#include "core/workstatus.h"

#include <QFile>
#include <QPromise>

namespace {

// One folder read on a task of its own; `ended` is guarded by the status's lock.
struct FolderRead
{
    explicit FolderRead(FileRows space)
        : rows(std::move(space))
    { }
    FileRows rows;
    QString reason;
    QList<ListingFailure> subfolders; // sub-folders that could not be listed
    qsizetype handedOver = 0; // rows given to KeysAhead, by the reading task until ended
    bool listed = false;
    bool ended = false;
};

// Lists folder with all its sub-folders into read, telling status of each
// sub-folder; the walk hands its rows to ahead itself.
bool walk(const QString &folder, FolderRead &read, const FolderReaders &readers,
    const std::shared_ptr<WorkStatus> &status, KeysAhead *ahead, qsizetype before,
    const BeforeRead &beforeRead)
{
    FolderWalk walk;
    walk.ahead = ahead;
    walk.aheadBase = before;
    walk.entering
        = [&status](const QByteArray &path) { status->startFolder(QFile::decodeName(path)); };
    walk.failed = [&read](const QByteArray &path, const QString &reason) {
        read.subfolders.append({ QFile::decodeName(path), reason });
    };
    walk.looped = [&read](const QByteArray &path, const QByteArray &same) {
        read.subfolders.append({ QFile::decodeName(path), loopDetected(displayPath(same)) });
    };
    walk.beforeSubfolders = readers.beforeSubfolders;
    const bool listed = walk.walk(
        QFile::encodeName(folder), read.rows, true, ListingOptions(), &read.reason, beforeRead);
    read.handedOver = read.rows.size();
    return listed;
}

// Reads one folder, with its sub-folders where asked, into read on a task
// of its own, which gives up its place in the pool while the read may hang.
void startRead(const std::shared_ptr<FolderRead> &read, const FolderReaders &readers,
    const ListedFolder &listed, const std::shared_ptr<WorkStatus> &status,
    const std::shared_ptr<KeysAhead> &ahead, int ticket, qsizetype before)
{
    runOnWorker([read, readers, listed, status, ahead, ticket, before] {
        const BeforeRead beforeRead = [&](qsizetype found) {
            if (status->stopRequested())
                return false;
            status->setFilesFound(before + found);
            // The rows read so far stand still until this returns.
            if (ahead && !listed.subfolders) {
                ahead->add(ticket, read->rows, read->handedOver, found);
                read->handedOver = found;
            }
            return true;
        };
        bool ok;
        {
            const MayBlock hungMount;
            ok = listed.subfolders
                ? walk(listed.path, *read, readers, status, ahead.get(), before, beforeRead)
                : readers.folder(listed.path, read->rows, &read->reason, beforeRead);
        }
        status->change([&read, listed = ok] {
            read->listed = listed;
            read->ended = true;
        });
    });
}

} // namespace

QList<ListingFailure> listFolders(const ListedFolders &folders, const FolderReaders &readers,
    FileRows &rows, const std::shared_ptr<WorkStatus> &status,
    const std::shared_ptr<KeysAhead> &ahead)
{
    QList<ListingFailure> failures;
    for (const ListedFolder &listed : folders) {
        const QString &folder = listed.path;
        if (status->stopRequested()) {
            failures.append({ folder, listingCancelled() });
            continue;
        }
        status->startFolder(folder);
        // The task owns what it reads into: a stop leaves it behind, still
        // stuck in its read, and must not leave it writing into freed rows.
        const auto read = std::make_shared<FolderRead>(rows.remainingSpace());
        // So that what is handed over on the way knows its folder.
        read->rows.beginFolder(folder);
        const int ticket = ahead ? ahead->begin(rows.size()) : 0;
        startRead(read, readers, listed, status, ahead, ticket, rows.size());
        bool ended;
        {
            const MayBlock waiting;
            ended = status->waitUntil([&read] { return read->ended; });
        }
        if (!ended)
            failures.append({ folder, listingCancelled() });
        else if (read->listed) {
            if (ahead)
                ahead->add(ticket, read->rows, read->handedOver, read->rows.size());
            rows.beginFolder(folder);
            rows.append(std::move(read->rows));
            failures.append(read->subfolders);
        } else
            failures.append({ folder, read->reason });
        if (ahead)
            ahead->truncate(rows.size()); // voids the ticket of a read left behind
        status->setFilesFound(rows.size());
    }
    return failures;
}

QFuture<Rebuilt> listAndArrange(const ListedFolders &folders, const FolderReaders &readers,
    const SortState &state, const std::shared_ptr<WorkStatus> &status, qsizetype keyLimit,
    ListingPreview::Show preview, FileArrangement like, std::shared_ptr<const PickedPlace> place)
{
    return runForResult([=, like = std::move(like), place = std::move(place)] {
        Rebuilt rebuilt;
        rebuilt.files.keyLimit = keyLimit;
        {
            FileRows rows;
            const auto previews
                = preview ? std::make_shared<ListingPreview>(state, keyLimit, preview) : nullptr;
            const auto ahead = std::make_shared<KeysAhead>(state, keyLimit, previews);
            rebuilt.failures = listFolders(folders, readers, rows, status, ahead);
            if (previews)
                rebuilt.previewKept = previews->close();
            status->startSorting();
            // Once listed, the rows are arranged even after a stop: the window shows them.
            if (!arrangeAsBefore(rebuilt.files, rows, state, like)) {
                ColumnKeys keys = ahead->take(rows.size());
                arrangeRows(rebuilt.files, std::move(rows), state, {}, std::move(keys));
            }
        }
        // The batches, keys and previews made on the way are freed by now.
        trimHeap();
        if (place)
            rebuilt.found = place->find(rebuilt.files, rebuilt.previewKept);
        return rebuilt;
    });
}

QFuture<FileArrangement> sortArrangement(
    FileArrangement files, const SortState &to, const std::shared_ptr<WorkStatus> &status)
{
    return runWithPromise<FileArrangement>(
        [to, status, files = std::move(files)](QPromise<FileArrangement> &promise) mutable {
            status->startSorting();
            const StopRequested stopped = [&status] { return status->stopRequested(); };
            if (!changeSortState(files, to, stopped))
                return;
            if (!stopped())
                promise.addResult(std::move(files));
        });
}
