// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

// One entry of the window's folder list: a folder, and whether the files of
// all its sub-folders are listed with its own.
struct ListedFolder
{
    ListedFolder(QString path = {}, bool subfolders = false)
        : path(std::move(path))
        , subfolders(subfolders)
    { }
    QString path;
    bool subfolders;
    bool operator==(const ListedFolder &) const = default;
};
using ListedFolders = QList<ListedFolder>;
