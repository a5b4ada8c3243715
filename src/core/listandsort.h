// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/folderlisting.h"

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
QFuture<Rebuilt> listAndArrange(const QStringList &folders, const FolderReader &reader,
    const SortState &state, const std::shared_ptr<WorkStatus> &status,
    qsizetype keyLimit = FileArrangement().keyLimit);

// Orders files as the sort state `to` says, on a worker. A stop abandons it:
// the future then holds no result.
QFuture<FileArrangement> sortArrangement(
    FileArrangement files, const SortState &to, const std::shared_ptr<WorkStatus> &status);
