// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/folderlisting.h"
#include "core/listedfolder.h"
#include "core/listingpreview.h"
#include "core/pickedplace.h"

#include <QFuture>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class KeysAhead;
class WorkStatus;

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
    // How many rows of the last preview shown the rows begin with.
    qsizetype previewKept = 0;
    // Where the rows picked are among the rows after those.
    PickedPlace::Found found;
};

// How the window reads its folders; tests put in readers they can slow or stop.
struct FolderReaders
{
    FolderReaders(FolderReader folder = listFolder)
        : folder(std::move(folder))
    { }
    // A folder without its sub-folders.
    FolderReader folder;
    // In a walk of sub-folders, called once a folder has been read and before
    // its sub-folders are, with its full path (FolderWalk::beforeSubfolders).
    std::function<void(const QByteArray &path)> beforeSubfolders;
};

// Lists folders in order, appending to rows: a folder through readers.folder,
// a folder with its sub-folders by FolderWalk, the status naming each
// sub-folder as its read begins; a sub-folder that cannot be listed is named
// in the result while the rest of its folder is listed. A folder that fails,
// or is stopped half-way, keeps none of its rows and is named in the result;
// once stopped, every folder not yet begun is named too, with
// listingCancelled(), and no further read starts. A stop returns at once even
// while a read is stuck in the system (a hung network mount): each folder,
// with its sub-folders, is read on a task of its own, which is then left to
// end by itself. The rows kept are handed to ahead, when given, as they are read.
QList<ListingFailure> listFolders(const ListedFolders &folders, const FolderReaders &readers,
    FileRows &rows, const std::shared_ptr<WorkStatus> &status,
    const std::shared_ptr<KeysAhead> &ahead = nullptr);

// Lists folders, then arranges their rows for state, on a worker. A stop
// ends the listing; the folders read in full are still arranged and returned.
// Past keyLimit bytes of sort keys they are returned unsorted, state.sorted false.
// While the folders are read, the rows read so far go to preview, when
// given, arranged the same way (see ListingPreview); the last is shown
// before the future finishes. Rows the same as like's share its storage
// (see arrangeAsBefore()). The rows picked in place are looked for among
// the rows after the last preview's.
QFuture<Rebuilt> listAndArrange(const ListedFolders &folders, const FolderReaders &readers,
    const SortState &state, const std::shared_ptr<WorkStatus> &status,
    qsizetype keyLimit = FileArrangement().keyLimit, ListingPreview::Show preview = {},
    FileArrangement like = {}, std::shared_ptr<const PickedPlace> place = {});

// Orders files as the sort state `to` says, on a worker. A stop abandons it:
// the future then holds no result.
QFuture<FileArrangement> sortArrangement(
    FileArrangement files, const SortState &to, const std::shared_ptr<WorkStatus> &status);
