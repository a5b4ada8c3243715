// SPDX-License-Identifier: MIT
#pragma once

#include "core/savehooks.h"

#include <QByteArray>
#include <QString>

// The folder a save writes in, opened once. The temporary file is made,
// renamed over the target and removed relative to it, and it is synced
// through it, so that a folder put in its place during the save (a link to
// another, say) is never written into; and a message can tell where a file
// in it really is, should it have moved.
class SaveFolder
{
public:
    // Opens the folder at path: for reading where this user may, else (Linux)
    // only to work in, as a drop box that this user may write but not read.
    explicit SaveFolder(const QByteArray &path);
    ~SaveFolder();
    SaveFolder(const SaveFolder &) = delete;
    SaveFolder &operator=(const SaveFolder &) = delete;

    // The folder's descriptor, or -1 with error() the system's reason.
    int fd() const { return m_fd; }
    int error() const { return m_error; }
    // The folder as opened: its path then, absolute, as a message shows it.
    QString shown() const;

    // Whether the path it was opened by still leads to it, as far as the
    // system can tell: false only where it leads to nothing or elsewhere.
    bool isInPlace() const;
    // What a save says that stops because the folder is no longer where it
    // was opened: where it went, where the system can tell.
    QString movedReason() const;
    // The file name in this folder, as a message shows it: by its path,
    // through the folder's new place if it moved, or where the system
    // cannot tell that, by its name and the folder's old place.
    QString shownFile(const QByteArray &name) const;

    // Syncs the folder, so that a new entry in it survives a power cut, with
    // sync (fsync() when null); 0, or the system's reason.
    int sync(DiskSync sync) const;

private:
    // Where the system says the folder is now; null where it cannot tell,
    // or the folder is gone.
    QByteArray whereNow() const;

    QByteArray m_path;
    int m_fd = -1;
    int m_error = 0;
    bool m_readable = false;
};
