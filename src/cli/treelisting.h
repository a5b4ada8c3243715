// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/filerows.h"
#include "core/folderlisting.h"
#include "core/folderwalk.h"
#include "core/keysahead.h"
#include "core/textexport.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The files of folders given on the command line, and with `recursive` of
// all their sub-folders, each then named by its path from the folder given
// (see FolderWalk), in rows that sort as the window sorts them.
struct TreeListing
{
    FileRows rows;

    // When set, given the rows as they are listed.
    KeysAhead *ahead = nullptr;

    // Told of each folder that cannot be listed, by its full path; the rest is listed.
    std::function<void(const QByteArray &path, const QString &reason)> failed;
    // Told of a sub-folder that is a folder on the way down to it, by both
    // full paths; it is not entered.
    std::function<void(const QByteArray &path, const QByteArray &same)> looped;
    // When set, given each folder's rows once read whole, as FolderWalk::listed.
    std::function<void(FileRows &rows, qsizetype from)> listed;

    // Appends root's files and, when recursive, its sub-folders' files, as
    // FolderWalk walks them.
    void list(const QByteArray &root, bool recursive, const ListingOptions &options);

    // Rows in order of state, as the window orders them (folder by folder
    // first, see folderOrderKeys()); names keep the order of the folders
    // given, as the window keeps it. The arrangement's state is unsorted when
    // the sort keys would pass their limit. The rows move into the arrangement.
    FileArrangement arrange(const SortState &state);

    // The list's bytes as exportText() writes them; with `shown`, each name
    // by the display rules.
    static QByteArray text(const FileArrangement &files, LineEnd lineEnd, bool shown);
    // Appends one name's line as text() writes it.
    static void appendLine(QByteArray &text, QByteArrayView name, QByteArrayView end, bool shown);
};
