// SPDX-License-Identifier: MIT
#pragma once

#include "core/folderlisting.h"

#include <QByteArray>
#include <QString>

#include <functional>

class FileRows;
class KeysAhead;

// The files of a folder and of all its sub-folders, each named by its path
// from that folder ("2026-05/IMG_1.jpg"): what quillmere-list -r and the
// window's "Include Sub-folders" list. One walk at a time per object.
//
// Each sub-folder is opened relative to its parent's descriptor, by its name
// alone and without following a link (O_NOFOLLOW), and read through that
// descriptor: a sub-folder swapped for a link to another folder after its
// parent was read is not entered but named (ENOTDIR), and paths have no
// length limit. A sub-folder with the device and inode of a folder on the way
// down to it is named (looped) and not entered. The QDirIterator way of
// reading (Windows) walks by paths instead, with none of this.
class FolderWalk
{
public:
    // Told of each sub-folder that cannot be listed, by its full path, and
    // why; the rest is listed.
    std::function<void(const QByteArray &path, const QString &reason)> failed;
    // Told of a sub-folder that is a folder on the way down to it (a bind
    // mount of a folder inside itself), by both full paths; it is not entered.
    std::function<void(const QByteArray &path, const QByteArray &same)> looped;
    // Told of each folder's full path as its read begins, root's too.
    std::function<void(const QByteArray &path)> entering;
    // Called once a folder has been read and before any of its sub-folders is
    // opened, with its full path, when it has sub-folders to walk: tests change
    // the tree there.
    std::function<void(const QByteArray &path)> beforeSubfolders;
    // How many folders on the way down keep their descriptor open, the root's
    // aside; those above are closed and opened again on the way back up.
    qsizetype heldFolders = 64;
    // When set, given the rows as they are listed, rows[0] being the
    // listing's row number aheadBase.
    KeysAhead *ahead = nullptr;
    qsizetype aheadBase = 0;
    // When set, given each folder's rows once its read has ended whole, those
    // of rows from `from` on, before the next folder is read: a listing
    // written as it goes takes them out (rows.truncate(from)). Not with ahead
    // nor with a beforeRead that may stop the walk.
    std::function<void(FileRows &rows, qsizetype from)> listed;

    // Appends root's files to rows and, with subfolders, its sub-folders'
    // files, in depth-first order: each folder's own files first, sub-folders
    // in the order read; hidden sub-folders only with options.hidden, links
    // to folders never entered. beforeRead is asked before each folder is
    // opened and before every read. Returns false, rows as they were, with
    // the reason in *error when root cannot be listed, and with
    // listingCancelled() when beforeRead said stop.
    bool walk(const QByteArray &root, FileRows &rows, bool subfolders, ListingOptions options,
        QString *error = nullptr, const BeforeRead &beforeRead = {});

private:
    enum Taken { Listed, Failed, Stopped };
    // Lists the folder at relative by read(), which lists into rows as
    // listFolderBytes() does, and hands its rows to ahead.
    Taken take(const QByteArray &relative,
        const std::function<bool(QString *reason, const BeforeRead &beforeRead)> &read);
    bool walkPaths(bool subfolders, ListingOptions options);
#ifndef Q_OS_WIN
    class DescriptorWalk; // one walk by descriptors, with its chain of open folders
    bool walkDescriptors(bool subfolders, ListingOptions options);
#endif
    // A folder's full path from its path from the root being listed.
    QByteArray pathOf(const QByteArray &relative) const;
    void fail(const QByteArray &relative, const QString &reason);

    QByteArray m_root, m_base; // the root being listed, and it with a '/' after it
    FileRows *m_rows = nullptr;
    BeforeRead m_beforeRead;
    bool m_stopped = false;
    QString m_rootReason; // why root could not be listed
};
