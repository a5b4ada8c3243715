// SPDX-License-Identifier: MIT
#include "cli/treelisting.h"

#include "core/collation.h"
#include "core/displaytext.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

#ifndef Q_OS_WIN
#include <cerrno>
#include <unordered_map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

void TreeListing::list(const QByteArray &root, bool recursive, ListingOptions options)
{
    m_root = root;
    m_base = root.endsWith('/') ? root : root + '/';
#ifndef Q_OS_WIN
    if (listsOpenFolders())
        return walkDescriptors(recursive, std::move(options));
#endif
    walkPaths(recursive, std::move(options));
}

QByteArray TreeListing::pathOf(const QByteArray &relative) const
{
    return relative.isEmpty() ? m_root : m_base + relative;
}

bool TreeListing::take(const QByteArray &relative, bool recursive,
    const std::function<bool(QString *reason, const BeforeRead &beforeRead)> &read)
{
    const qsizetype before = rows.size();
    QString reason;
    const int ticket = ahead ? ahead->begin(before) : 0;
    qsizetype handedOver = before;
    const BeforeRead handOver = [&](qsizetype count) {
        ahead->add(ticket, rows, handedOver, count);
        handedOver = count;
        return true;
    };
    if (!read(&reason, ahead ? handOver : BeforeRead())) {
        if (ahead)
            ahead->truncate(before);
        if (failed)
            failed(pathOf(relative), reason);
        return false;
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
            failed(pathOf(relative), FileRows::limitReason());
        return false;
    }
    if (ahead)
        ahead->add(ticket, rows, handedOver, rows.size());
    m_pathBytes += bytes;
    if (recursive)
        folderOf.resize(size_t(rows.size()), uint32_t(folders.size()));
    folders << relative;
    return true;
}

void TreeListing::walkPaths(bool recursive, ListingOptions options)
{
    QList<QByteArray> subfolders;
    options.subfolders = recursive ? &subfolders : nullptr;
    // Depth first, without recursion: a path of 4,000 bytes is 2,000 folders deep.
    std::vector<QByteArray> pending { QByteArray() };
    while (!pending.empty()) {
        const QByteArray relative = std::move(pending.back());
        pending.pop_back();
        const QByteArray path = pathOf(relative);
        subfolders.clear();
        if (!take(relative, recursive, [&](QString *reason, const BeforeRead &beforeRead) {
                return listFolderBytes(path, rows, reason, options, beforeRead);
            }))
            continue;
        if (!subfolders.isEmpty() && beforeSubfolders)
            beforeSubfolders(path);
        const QByteArray prefix = relative.isEmpty() ? QByteArray() : relative + '/';
        for (auto sub = subfolders.crbegin(); sub != subfolders.crend(); ++sub)
            pending.push_back(prefix + *sub);
    }
}

#ifndef Q_OS_WIN
namespace {

// A folder as the system knows it, whatever its path.
struct FolderId
{
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId &) const = default;
};

struct FolderIdHash
{
    size_t operator()(const FolderId &id) const noexcept
    {
        return std::hash<unsigned long long>()(id.inode) * 31
            + std::hash<unsigned long long>()(id.device);
    }
};

bool idOf(int fd, FolderId *id)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return false;
    *id = { st.st_dev, st.st_ino };
    return true;
}

int openFolder(int parentFd, const char *name, int flags)
{
    int fd;
    do
        fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// A folder on the way down, whose sub-folders are being walked.
struct Frame
{
    QByteArray relative; // its path from the root, "" for the root
    int fd; // -1 while closed, to hold few descriptors, or once lost
    FolderId id;
    QList<QByteArray> subfolders; // in the order read
    qsizetype next = 0; // the next sub-folder to walk
    QString lost; // why it could not be opened again; its sub-folders left are named with it

    QByteArray name() const { return relative.mid(relative.lastIndexOf('/') + 1); }
};

} // namespace

void TreeListing::walkDescriptors(bool recursive, ListingOptions options)
{
    int rootFd;
    do
        rootFd = ::open(m_root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (rootFd < 0 && errno == EINTR);
    if (rootFd < 0) {
        if (failed)
            failed(m_root, qt_error_string(errno));
        return;
    }

    // The folders on the way down to the one being walked, the root first.
    // The root's descriptor is held throughout; of the others, those from
    // firstHeld on (at most heldFolders), so that descriptors stay few however
    // deep the tree. A folder above them is opened again on the way back up,
    // through its sub-folder's "..", or else by name from the nearest folder
    // above it that is held, and only if it is still the same folder.
    std::vector<Frame> chain;
    std::unordered_map<FolderId, size_t, FolderIdHash> onChain; // each frame's place
    size_t firstHeld = 1;
    const size_t held = size_t(std::max<qsizetype>(heldFolders, 1));
    QList<QByteArray> subfolders;
    options.subfolders = recursive ? &subfolders : nullptr;

    // Lists the folder open as fd; with sub-folders it goes on the chain,
    // else fd is closed.
    const auto enter = [&](QByteArray relative, int fd) {
        FolderId id {};
        if (recursive) {
            if (!idOf(fd, &id)) {
                if (failed)
                    failed(pathOf(relative), qt_error_string(errno));
                ::close(fd);
                return;
            }
            if (const auto same = onChain.find(id); same != onChain.end()) {
                if (looped)
                    looped(pathOf(relative), pathOf(chain[same->second].relative));
                ::close(fd);
                return;
            }
        }
        subfolders.clear();
        const bool listed
            = take(relative, recursive, [&](QString *reason, const BeforeRead &beforeRead) {
                  return listFolderAt(fd, rows, reason, options, beforeRead);
              });
        if (!listed || subfolders.isEmpty()) {
            ::close(fd);
            return;
        }
        if (beforeSubfolders)
            beforeSubfolders(pathOf(relative));
        onChain.emplace(id, chain.size());
        chain.push_back(
            Frame { std::move(relative), fd, id, std::exchange(subfolders, {}), 0, {} });
        if (chain.size() - firstHeld > held) {
            Frame &highest = chain[firstHeld++];
            if (highest.fd >= 0)
                ::close(std::exchange(highest.fd, -1));
        }
    };

    // Opens chain[i] again, closed on the way down, from its sub-folder's
    // descriptor childFd (or -1).
    const auto reopen = [&](size_t i, int childFd) {
        Frame &frame = chain[i];
        FolderId id {};
        int fd = childFd >= 0 ? openFolder(childFd, "..", 0) : -1;
        if (fd >= 0 && (!idOf(fd, &id) || id != frame.id))
            ::close(std::exchange(fd, -1));
        if (fd < 0) {
            // Moved away: by names from the nearest held folder above, each the same as before.
            size_t from = i - 1;
            while (chain[from].fd < 0)
                --from; // the root's is held
            fd = chain[from].fd;
            for (size_t k = from + 1; k <= i && fd >= 0; ++k) {
                const int next = openFolder(fd, chain[k].name().constData(), O_NOFOLLOW);
                const int reason = errno;
                if (fd != chain[from].fd)
                    ::close(fd);
                fd = next;
                if (fd < 0) {
                    frame.lost = qt_error_string(reason);
                } else if (!idOf(fd, &id) || id != chain[k].id) {
                    ::close(std::exchange(fd, -1));
                    frame.lost
                        = QStringLiteral("Its folder was moved or replaced while it was listed.");
                }
            }
        }
        frame.fd = fd;
    };

    enter(QByteArray(), rootFd);
    while (!chain.empty()) {
        Frame &top = chain.back();
        if (top.next < top.subfolders.size()) {
            const QByteArray &name = top.subfolders[top.next++];
            QByteArray relative = top.relative.isEmpty() ? name : top.relative + '/' + name;
            if (top.fd < 0) {
                if (failed)
                    failed(pathOf(relative), top.lost);
                continue;
            }
            // Neither a link swapped in for the sub-folder nor a longer path is followed.
            const int fd = openFolder(top.fd, name.constData(), O_NOFOLLOW);
            if (fd < 0) {
                if (failed)
                    failed(pathOf(relative), qt_error_string(errno));
                continue;
            }
            enter(std::move(relative), fd);
            continue;
        }
        // All its sub-folders walked: back up to its parent.
        const size_t last = chain.size() - 1;
        if (last >= 1 && chain[last - 1].fd < 0 && chain[last - 1].lost.isEmpty())
            reopen(last - 1, top.fd);
        if (top.fd >= 0)
            ::close(top.fd);
        onChain.erase(top.id);
        chain.pop_back();
        if (last >= 1 && last - 1 < firstHeld)
            firstHeld = std::max<size_t>(last - 1, 1);
    }
}
#endif

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
