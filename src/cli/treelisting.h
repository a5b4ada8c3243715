// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/filerows.h"
#include "core/folderlisting.h"
#include "core/keysahead.h"
#include "core/textexport.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

// The files of folders given on the command line, and with `recursive` of
// all their sub-folders, each then named by its path from the folder given.
// The rows hold names alone, so that they sort as the window sorts them;
// the folder path of each is put before it only when the list is written.
struct TreeListing
{
    FileRows rows;
    std::vector<uint32_t> folderOf; // with recursive, the folder of each row, an index into folders
    QList<QByteArray> folders; // each listed folder's path from its root, "" for the root

    // When set, given the rows as they are listed.
    KeysAhead *ahead = nullptr;

    // Told of each folder that cannot be listed, by its full path; the rest is listed.
    std::function<void(const QByteArray &path, const QString &reason)> failed;

    // Appends root's files and, when recursive, its sub-folders' files in
    // depth-first order, each folder's own files first, sub-folders in the
    // order read. The rows' limit of bytes holds for the paths written.
    // options.subfolders is set here.
    void list(const QByteArray &root, bool recursive, ListingOptions options);

    // Rows in order of state, sorted within a folder as the window sorts
    // and by folder path first (a folder's own files before those of its
    // sub-folders); names keep the order of the folders given, as the window
    // keeps it. The arrangement's state is unsorted when the sort keys would
    // pass their limit. The rows move into the arrangement.
    FileArrangement arrange(const SortState &state);

    // The list's bytes as exportText() writes them, each name after its
    // folder path; with `shown`, each path by the display rules.
    QByteArray text(const FileArrangement &files, LineEnd lineEnd, bool shown) const;

private:
    qsizetype m_pathBytes = 0;
};
