// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class FileListModel;
struct FileArrangement;

// How every line ends: CR LF as the window saves, LF for Unix tools.
enum class LineEnd { CrLf, Lf };

// The text file that "Save List to TXT File" writes: each row's file name in
// display order, each followed by CR LF, with no header and no byte-order mark.
// On Linux names are written as the file system gave them, byte for byte; on
// Windows they are converted to the ANSI code page. Built in one allocation of
// the exact size: O(total name bytes).
QByteArray exportText(const FileListModel &files, LineEnd lineEnd = LineEnd::CrLf);
// The same for an arrangement, which a worker may hold while the model changes.
QByteArray exportText(const FileArrangement &files, LineEnd lineEnd = LineEnd::CrLf);

// Syncs an open folder to disk, as fsync() does; 0 or -1 with errno set.
using FolderSync = int (*)(int folderFd);

// Replaces the file at path with text, atomically: a temporary file beside it
// is written, given the old file's mode, owner and group (as far as the
// system lets this user), synced, and renamed over it; then the folder is
// synced with syncFolder (fsync when null), so the new entry survives a power
// cut. A failure never leaves a partial file and leaves an existing one
// untouched. Other hard links to the old file keep the old contents. On
// failure returns false with the system's reason in *error.
bool saveText(
    const QString &path, const QByteArray &text, QString *error, FolderSync syncFolder = nullptr);
