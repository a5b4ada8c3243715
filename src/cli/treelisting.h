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
    // Told of a sub-folder that is a folder on the way down to it (a bind
    // mount of a folder inside itself), by both full paths; it is not entered.
    std::function<void(const QByteArray &path, const QByteArray &same)> looped;
    // Called once a folder has been read and before any of its sub-folders is
    // opened, with its full path, when it has sub-folders to walk: tests change
    // the tree there.
    std::function<void(const QByteArray &path)> beforeSubfolders;
    // How many folders on the way down keep their descriptor open, the root's
    // aside; those above are closed and opened again on the way back up.
    qsizetype heldFolders = 64;

    // Appends root's files and, when recursive, its sub-folders' files in
    // depth-first order, each folder's own files first, sub-folders in the
    // order read. The rows' limit of bytes holds for the paths written.
    // options.subfolders is set here.
    //
    // Each sub-folder is opened relative to its parent's descriptor, by its
    // name alone and without following a link (O_NOFOLLOW), and read through
    // that descriptor: a sub-folder swapped for a link to another folder after
    // its parent was read is not entered but named (ENOTDIR), and paths have
    // no length limit. A sub-folder with the device and inode of a folder on
    // the way down to it is named (looped) and not entered. The QDirIterator
    // way of reading (Windows) walks by paths instead, with none of this.
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
    // Lists the folder at relative by read(reason, beforeRead), which lists
    // into rows as listFolderBytes() does, and keeps its rows; false, the
    // folder named, when it failed.
    bool take(const QByteArray &relative, bool recursive,
        const std::function<bool(QString *reason, const BeforeRead &beforeRead)> &read);
    void walkPaths(bool recursive, ListingOptions options);
#ifndef Q_OS_WIN
    void walkDescriptors(bool recursive, ListingOptions options);
#endif
    // A folder's full path from its path from the root being listed.
    QByteArray pathOf(const QByteArray &relative) const;

    QByteArray m_root, m_base; // the root being listed, and it with a '/' after it
    qsizetype m_pathBytes = 0;
};
