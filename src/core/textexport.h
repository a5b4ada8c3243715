// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class FileListModel;
class SaveGiveUp;
struct FileArrangement;

// What follows every name: CR LF as the window saves, LF for Unix tools, NUL
// for names that may hold line feeds (xargs -0).
enum class LineEnd { CrLf, Lf, Nul };

// The text file that "Save List to TXT File" writes: each row's file name in
// display order, each followed by CR LF, with no header and no byte-order mark.
// On Linux names are written as the file system gave them, byte for byte; on
// Windows they are converted to the ANSI code page. Built in one allocation of
// the exact size: O(total name bytes).
QByteArray exportText(const FileListModel &files, LineEnd lineEnd = LineEnd::CrLf);
// The same for an arrangement, which a worker may hold while the model changes.
QByteArray exportText(const FileArrangement &files, LineEnd lineEnd = LineEnd::CrLf);

// What "Copy All Names" and "Copy All Paths" put on the clipboard: every row
// in display order, one a line (LF, which the clipboard converts where the
// platform wants CR LF). Names are shown by the display rules, as "Copy Name"
// copies one; paths join the row's folder and its decoded name as the
// platform writes paths. Runs on any thread; O(total name bytes).
enum class ListText { Names, Paths };
QString listText(const FileArrangement &files, ListText what);

// Syncs an open file or folder to disk, as fdatasync() and fsync() do; 0 or
// -1 with errno set.
using DiskSync = int (*)(int fd);
// Renames a file, as rename() does; 0 or -1 with errno set.
using RenameFile = int (*)(const char *from, const char *to);
// The steps of a save that only a failing disk or folder makes fail; tests
// put failing ones in.
struct SaveHooks
{
    DiskSync file = nullptr; // the new file's data; fdatasync when null
    DiskSync folder = nullptr; // the folder after the rename; fsync when null
    RenameFile rename = nullptr; // the new file over the target; rename when null
};

// What a save came to, and so what is on the disk.
enum class SaveResult {
    Saved, // the new list has replaced the target and is on the disk
    // The new list has replaced the target, but the system could not confirm
    // that the folder's new entry is on the disk: a power cut may lose it.
    // Something of the old file may not have been kept either.
    Unconfirmed,
    // The new list has replaced the target and is on the disk, but the old
    // file's owner, group, mode, ACL or an extended attribute could not all
    // be given to it.
    NotAllKept,
    // Nothing changed: the target keeps its old contents, or still does not
    // exist, and nothing is left beside it but a temporary file that the
    // message names.
    Failed,
};

// Replaces the file at path with text, atomically: a temporary file beside it
// is written, given the old file's owner, group, mode, ACL and user and
// security extended attributes (as far as the file system and this user's
// rights allow), its data synced, and renamed over it; then the folder is
// synced, so the new entry survives a power cut. Other hard links to the old
// file keep the old contents; a symbolic link is followed to the file it
// names. Unless Saved, *error says why: for Failed the system's reason, else
// one sentence a line for each thing the save could not confirm or keep.
// giveUp, when given, lets another thread give the save up until the rename.
SaveResult saveText(const QString &path, const QByteArray &text, QString *error,
    const SaveHooks &hooks = {}, SaveGiveUp *giveUp = nullptr);

// What the window and quillmere-list say of a save whose folder sync failed.
QString unconfirmedSaveMessage(const QString &reason);
