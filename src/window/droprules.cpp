// SPDX-License-Identifier: MIT
#include "window/droprules.h"

#include "core/paths.h"

#include <QFileInfo>
#include <QMimeData>

#include <algorithm>

namespace DropRules {

bool acceptsDrop(const QList<QUrl> &urls, Qt::DropActions actions)
{
    if (urls.isEmpty() || !(actions & Qt::CopyAction))
        return false;
    return std::all_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

bool acceptsDrop(const QMimeData *data, Qt::DropActions actions)
{
    return data && data->hasUrls() && acceptsDrop(data->urls(), actions);
}

QString droppedFolder(const QString &path)
{
    if (!QFileInfo(path).isDir())
        return GetFolderOfFile(path);
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QStringList droppedFolders(const QList<QUrl> &urls)
{
    QStringList folders;
    folders.reserve(urls.size());
    for (const QUrl &url : urls)
        folders << droppedFolder(url.toLocalFile());
    return folders;
}

} // namespace DropRules
