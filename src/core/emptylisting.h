// SPDX-License-Identifier: MIT
#pragma once

#include "core/listedfolder.h"

#include <QStringList>

// Why a listing came out empty, for the list to say so.
enum class EmptyListing {
    // No folder could be listed: the warning about them says why.
    NothingListed,
    // The folders hold no file that is listed (hidden ones never are).
    NoFiles,
    // Some folder listed without its sub-folders holds sub-folders, whose
    // files Include Sub-folders would list.
    OnlySubfolders,
};

// Why folders, of which failed could not be listed, listed no file. Reads
// each folder listed without its sub-folders until its first sub-folder
// (not hidden, not a link, as the walk of sub-folders takes them); may block
// on a hung drive, so runs on a worker.
EmptyListing whyEmpty(const ListedFolders &folders, const QStringList &failed);
