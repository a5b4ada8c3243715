// SPDX-License-Identifier: MIT
#pragma once

#include "core/writeall.h"

// Syncs an open file or folder to disk, as fdatasync() and fsync() do; 0 or
// -1 with errno set.
using DiskSync = int (*)(int fd);
// Renames a file from one folder's descriptor to another's, as renameat()
// does; 0 or -1 with errno set.
using RenameFile = int (*)(int fromFolder, const char *from, int toFolder, const char *to);
// Removes a file from a folder's descriptor, as unlinkat() does; 0 or -1 with
// errno set.
using RemoveFile = int (*)(int folder, const char *name, int flags);

// The system calls of a save that tests replace, to make them fail as a
// failing disk or folder would, or to watch the save as it runs. Each is the
// system's own when null. A save works in its target's folder through a
// descriptor (see SaveFolder): the names given are in that folder.
struct SaveHooks
{
    DiskSync file = nullptr; // the new file's data; fdatasync when null
    DiskSync folder = nullptr; // the folder after the rename; fsync when null
    RenameFile rename = nullptr; // the new file over the target; renameat when null
    WriteFile write = nullptr; // the new file's data, through writeAll(); write when null
    // The temporary file, after a failure or when the save is given up
    // (SaveGiveUp); unlinkat when null.
    RemoveFile remove = nullptr;
};
