// SPDX-License-Identifier: MIT
#include "core/emptylisting.h"

#include <QDirIterator>

EmptyListing whyEmpty(const ListedFolders &folders, const QStringList &failed)
{
    bool listed = false;
    for (const ListedFolder &folder : folders) {
        if (failed.contains(folder.path))
            continue;
        listed = true;
        if (!folder.subfolders
            && QDirIterator(folder.path, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)
                   .hasNext())
            return EmptyListing::OnlySubfolders;
    }
    return listed ? EmptyListing::NoFiles : EmptyListing::NothingListed;
}
