// SPDX-License-Identifier: MIT
#include "cli/treelisting.h"

#include "core/collation.h"
#include "core/displaytext.h"

#include <algorithm>
#include <cstring>
#include <numeric>

void TreeListing::list(const QByteArray &root, bool recursive, ListingOptions options)
{
    const QByteArray base = root.endsWith('/') ? root : root + '/';
    QList<QByteArray> subfolders;
    options.subfolders = recursive ? &subfolders : nullptr;
    // Depth first, without recursion: a path of 4,000 bytes is 2,000 folders deep.
    std::vector<QByteArray> pending { QByteArray() };
    while (!pending.empty()) {
        const QByteArray relative = std::move(pending.back());
        pending.pop_back();
        const QByteArray path = relative.isEmpty() ? root : base + relative;
        const qsizetype before = rows.size();
        subfolders.clear();
        QString reason;
        const int ticket = ahead ? ahead->begin(before) : 0;
        qsizetype handedOver = before;
        const BeforeRead handOver = [&](qsizetype count) {
            ahead->add(ticket, rows, handedOver, count);
            handedOver = count;
            return true;
        };
        if (!listFolderBytes(path, rows, &reason, options, ahead ? handOver : BeforeRead())) {
            if (ahead)
                ahead->truncate(before);
            if (failed)
                failed(path, reason);
            continue;
        }
        // The bytes written, folder paths and all, keep to the rows' own limit.
        qsizetype bytes = (relative.isEmpty() ? 0 : relative.size() + 1) * (rows.size() - before);
        for (qsizetype row = before; row < rows.size(); ++row)
            bytes += rows.name(row).size();
        if (m_pathBytes + bytes > FileRows::MaxBytes) {
            rows.truncate(before);
            if (ahead)
                ahead->truncate(before);
            if (failed)
                failed(path, FileRows::limitReason());
            continue;
        }
        if (ahead)
            ahead->add(ticket, rows, handedOver, rows.size());
        m_pathBytes += bytes;
        if (recursive)
            folderOf.resize(size_t(rows.size()), uint32_t(folders.size()));
        folders << relative;
        const QByteArray prefix = relative.isEmpty() ? QByteArray() : relative + '/';
        for (auto sub = subfolders.crbegin(); sub != subfolders.crend(); ++sub)
            pending.push_back(prefix + *sub);
    }
}

namespace {

// Each folder's place in the order of folder paths: part by part, each part
// as names are compared (natural, ignoring case, then by bytes); a folder
// before its sub-folders. The same path from two roots shares its place.
std::vector<uint32_t> folderRanks(const QList<QByteArray> &folders)
{
    Collator collator;
    std::vector<std::vector<std::vector<uint8_t>>> keys(size_t(folders.size()));
    for (qsizetype f = 0; f < folders.size(); ++f) {
        if (folders[f].isEmpty())
            continue;
        for (const QByteArray &part : folders[f].split('/')) {
            std::vector<uint8_t> key;
            collator.appendKey(part, key);
            keys[size_t(f)].push_back(std::move(key));
        }
    }
    auto compare = [&](size_t a, size_t b) {
        const auto &ka = keys[a], &kb = keys[b];
        const QList<QByteArray> pa = folders[qsizetype(a)].split('/'),
                                pb = folders[qsizetype(b)].split('/');
        for (size_t i = 0; i < ka.size() && i < kb.size(); ++i) {
            if (const int c = std::strcmp(reinterpret_cast<const char *>(ka[i].data()),
                    reinterpret_cast<const char *>(kb[i].data())))
                return c;
            if (const int c = pa[qsizetype(i)].compare(pb[qsizetype(i)]))
                return c;
        }
        return ka.size() < kb.size() ? -1 : ka.size() > kb.size() ? 1 : 0;
    };
    std::vector<size_t> byPath(keys.size());
    std::iota(byPath.begin(), byPath.end(), 0);
    std::stable_sort(
        byPath.begin(), byPath.end(), [&](size_t a, size_t b) { return compare(a, b) < 0; });
    std::vector<uint32_t> rank(keys.size());
    for (size_t i = 0; i < byPath.size(); ++i)
        rank[byPath[i]]
            = i > 0 && compare(byPath[i - 1], byPath[i]) == 0 ? rank[byPath[i - 1]] : uint32_t(i);
    return rank;
}

} // namespace

FileArrangement TreeListing::arrange(const SortState &state)
{
    FileArrangement files;
    ColumnKeys keys = ahead ? ahead->take(rows.size()) : ColumnKeys();
    arrangeRows(files, std::move(rows), state, {}, std::move(keys));
    if (!state.sorted || files.state != state || folderOf.empty())
        return files;
    const std::vector<uint32_t> rank = folderRanks(folders);
    const bool descending = state.order == Qt::DescendingOrder;
    std::stable_sort(files.order.begin(), files.order.end(), [&](uint32_t a, uint32_t b) {
        const uint32_t ra = rank[folderOf[a]], rb = rank[folderOf[b]];
        return descending ? ra > rb : ra < rb;
    });
    return files;
}

QByteArray TreeListing::text(const FileArrangement &files, LineEnd lineEnd, bool shown) const
{
    if (folderOf.empty() && !shown)
        return exportText(files, lineEnd);
    const QByteArrayView end = lineEndBytes(lineEnd);
    auto folderOfRow = [this](uint32_t row) -> QByteArrayView {
        return folderOf.empty() ? QByteArrayView() : QByteArrayView(folders[folderOf[row]]);
    };
    QByteArray text;
    if (!shown) {
        // One allocation of the exact size: the list may be most of the memory used.
        qsizetype size = 0;
        for (const uint32_t row : files.order) {
            const qsizetype folder = folderOfRow(row).size();
            size += (folder ? folder + 1 : 0) + files.rows->name(row).size() + end.size();
        }
        text.reserve(size);
    }
    QByteArray path;
    for (const uint32_t row : files.order) {
        path.clear();
        if (const QByteArrayView folder = folderOfRow(row); !folder.isEmpty())
            path.append(folder).append('/');
        path.append(files.rows->name(row));
        if (shown)
            text += displayText(path).toUtf8();
        else
            text += savedName(path);
        text += end;
    }
    return text;
}
