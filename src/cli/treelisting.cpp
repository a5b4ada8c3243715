// SPDX-License-Identifier: MIT
#include "cli/treelisting.h"

#include "core/displaytext.h"

void TreeListing::list(const QByteArray &root, bool recursive, const ListingOptions &options)
{
    FolderWalk walk;
    walk.failed = failed;
    walk.looped = looped;
    walk.ahead = ahead;
    walk.listed = listed;
    QString reason;
    if (!walk.walk(root, rows, recursive, options, &reason) && failed)
        failed(root, reason);
}

FileArrangement TreeListing::arrange(const SortState &state)
{
    FileArrangement files;
    ColumnKeys keys = ahead ? ahead->take(rows.size()) : ColumnKeys();
    arrangeRows(files, std::move(rows), state, {}, std::move(keys));
    return files;
}

QByteArray TreeListing::text(const FileArrangement &files, LineEnd lineEnd, bool shown)
{
    if (!shown)
        return exportText(files, lineEnd);
    const QByteArrayView end = lineEndBytes(lineEnd);
    QByteArray text;
    for (const uint32_t row : files.order)
        appendLine(text, files.rows->name(row), end, true);
    return text;
}

void TreeListing::appendLine(QByteArray &text, QByteArrayView name, QByteArrayView end, bool shown)
{
    if (shown)
        text.append(displayText(name).toUtf8());
    else
        text.append(savedName(name));
    text.append(end);
}
