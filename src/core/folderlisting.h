// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

class FileRows;

// Asked before each read of a folder's entries, with the rows listed so far;
// false stops the listing there (see listFolder()).
using BeforeRead = std::function<bool(qsizetype rows)>;

// Appends the plain files of one folder to rows, in the order the file system
// gives them. Sub-folders are neither listed nor entered; hidden files (a
// leading dot) are left out; a symbolic link counts when it leads to a plain
// file. Nothing is opened but the folder itself, so a FIFO cannot block.
//
// Names stay bytes: one that is not valid UTF-8 is kept as it is.
// On failure returns false with rows as they were and the system's reason in
// *error. Costs one pass over the folder's entries, plus one stat per link or
// per entry whose type the file system does not report.
//
// beforeRead, when given, is asked before the folder is opened and before
// every further read; when it says stop, listFolder() fails with reason
// listingCancelled(), so no read starts after it.
bool listFolder(
    const QString &folder, FileRows &rows, QString *error, const BeforeRead &beforeRead = {});

// The same for a folder named by its path's bytes, as a Unix command line
// passes them: a folder whose own name is not valid UTF-8 can be listed too.
// On Windows the bytes are UTF-8.
bool listFolderBytes(const QByteArray &nativePath, FileRows &rows, QString *error,
    const BeforeRead &beforeRead = {});

// What quillmere-list asks beyond the window's listing; the defaults list as
// the window does.
struct ListingOptions
{
    bool hidden = false; // hidden files (and sub-folders) too
    // When given, the folder's sub-folders are named here in the order read,
    // hidden ones only with hidden; a symbolic link to a folder is not one,
    // so a walk through them never loops.
    QList<QByteArray> *subfolders = nullptr;
    // When given, a plain file is listed only if this keeps its name.
    std::function<bool(QByteArrayView name)> keep;
    // Put before each name listed: a sub-folder's path from the folder walked
    // and a '/' (see FolderWalk). A row longer than FileRows::MaxNameLength
    // fails the listing with the reason "File name too long".
    QByteArray folder;
};
bool listFolderBytes(const QByteArray &nativePath, FileRows &rows, QString *error,
    const ListingOptions &options, const BeforeRead &beforeRead = {});

#ifndef Q_OS_WIN
// The same for a folder already open as dirFd (opened O_RDONLY | O_DIRECTORY
// and not yet read), which stays open and the caller's: a walk opens each
// sub-folder relative to its parent's descriptor, with O_NOFOLLOW, so that no
// path longer than one name is opened and no link swapped in is followed.
// beforeRead is asked before every read, as above. The QDirIterator way reads
// by path alone: there it fails, and listsOpenFolders() says so beforehand.
bool listFolderAt(int dirFd, FileRows &rows, QString *error, const ListingOptions &options,
    const BeforeRead &beforeRead = {});
#endif
// Whether listFolderAt() lists: in every way but QDirIterator's.
bool listsOpenFolders();

// How this build reads folders: "getdents64", "readdir" or "qt" (QDirIterator,
// which cannot keep names that are not valid UTF-8).
const char *folderListingMethod();

// The reason given for a folder whose listing was stopped.
QString listingCancelled();

// The reason given for a sub-folder that is a folder on the way down to it
// (FolderWalk::looped), that folder's path shown as the caller shows paths:
// one text for the window and quillmere-list.
QString loopDetected(const QString &sameFolder);

// How the window lists one folder; tests put in a reader they can slow or stop.
// The same contract as listFolder().
using FolderReader = std::function<bool(
    const QString &folder, FileRows &rows, QString *error, const BeforeRead &beforeRead)>;

#ifndef Q_OS_WIN
// Whether an entry of the open folder dirFd is listed, from its type as the
// folder reports it (d_type; DT_UNKNOWN where the file system does not tell,
// as XFS without ftype and some network file systems do). Declared here so
// that every type can be tried on any file system.
bool isListedFile(int dirFd, const char *name, unsigned char type);
#endif
