// SPDX-License-Identifier: MIT
#include "core/folderwalk.h"

#include "core/filerows.h"
#include "core/keysahead.h"
#include "core/retryoninterrupt.h"
#include "core/systemreason.h"

#include <algorithm>
#include <utility>
#include <vector>

#ifndef Q_OS_WIN
#include <cerrno>
#include <unordered_map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool FolderWalk::walk(const QByteArray &root, FileRows &rows, bool subfolders,
    ListingOptions options, QString *error, const BeforeRead &beforeRead)
{
    m_root = root;
    m_base = root.endsWith('/') ? root : root + '/';
    m_rows = &rows;
    m_stopped = false;
    m_rootReason.clear();
    m_beforeRead = [this, beforeRead](qsizetype found) {
        m_stopped = m_stopped || (beforeRead && !beforeRead(found));
        return !m_stopped;
    };
    const qsizetype before = rows.size();
    bool listed;
#ifndef Q_OS_WIN
    if (listsOpenFolders())
        listed = walkDescriptors(subfolders, std::move(options));
    else
#endif
        listed = walkPaths(subfolders, std::move(options));
    m_rows = nullptr;
    m_beforeRead = nullptr;
    if (m_stopped) {
        // Stopped part-way, the folder keeps none of its rows.
        rows.truncate(before);
        if (ahead)
            ahead->truncate(aheadBase + before);
        if (error)
            *error = listingCancelled();
        return false;
    }
    if (!listed && error)
        *error = m_rootReason;
    return listed;
}

QByteArray FolderWalk::pathOf(const QByteArray &relative) const
{
    return relative.isEmpty() ? m_root : m_base + relative;
}

void FolderWalk::fail(const QByteArray &relative, const QString &reason)
{
    if (relative.isEmpty())
        m_rootReason = reason;
    else if (failed)
        failed(pathOf(relative), reason);
}

FolderWalk::Taken FolderWalk::take(const QByteArray &relative,
    const std::function<bool(QString *reason, const BeforeRead &beforeRead)> &read)
{
    FileRows &rows = *m_rows;
    const qsizetype before = rows.size();
    const int ticket = ahead ? ahead->begin(aheadBase + before) : 0;
    qsizetype handedOver = before;
    const BeforeRead handOver = [&](qsizetype count) {
        if (!m_beforeRead(count))
            return false;
        if (ahead) {
            ahead->add(ticket, rows, handedOver, count);
            handedOver = count;
        }
        return true;
    };
    if (entering)
        entering(pathOf(relative));
    QString reason;
    if (!read(&reason, handOver)) {
        if (ahead)
            ahead->truncate(aheadBase + before);
        if (m_stopped)
            return Stopped;
        fail(relative, reason);
        return Failed;
    }
    if (ahead)
        ahead->add(ticket, rows, handedOver, rows.size());
    if (listed)
        listed(rows, before);
    return Listed;
}

namespace {

// What each row of a sub-folder starts with: its path from the root and a '/'.
QByteArray folderPart(const QByteArray &relative)
{
    return relative.isEmpty() ? QByteArray() : relative + '/';
}

} // namespace

bool FolderWalk::walkPaths(bool subfolders, ListingOptions options)
{
    QList<QByteArray> found;
    options.subfolders = subfolders ? &found : nullptr;
    bool rootListed = false;
    // Depth first, without recursion: a path of 4,000 bytes is 2,000 folders deep.
    std::vector<QByteArray> pending { QByteArray() };
    while (!pending.empty() && !m_stopped) {
        const QByteArray relative = std::move(pending.back());
        pending.pop_back();
        const QByteArray path = pathOf(relative);
        found.clear();
        options.folder = folderPart(relative);
        if (take(relative,
                [&](QString *reason, const BeforeRead &beforeRead) {
                    return listFolderBytes(path, *m_rows, reason, options, beforeRead);
                })
            != Listed)
            continue;
        rootListed = rootListed || relative.isEmpty();
        if (!found.isEmpty() && beforeSubfolders)
            beforeSubfolders(path);
        for (auto sub = found.crbegin(); sub != found.crend(); ++sub)
            pending.push_back(options.folder + *sub);
    }
    return rootListed;
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
    return retryOnInterrupt(
        [&] { return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags); });
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

// One walk by descriptors. m_chain holds the folders on the way down to the
// one being walked, the root first. The root's descriptor is held
// throughout; of the others, those from m_firstHeld on (at most m_held), so
// that descriptors stay few however deep the tree. A folder above them is
// opened again on the way back up, through its sub-folder's "..", or else by
// name from the nearest folder above it that is held, and only if it is
// still the same folder.
class FolderWalk::DescriptorWalk
{
public:
    DescriptorWalk(FolderWalk &walk, bool subfolders, ListingOptions options)
        : m_walk(walk)
        , m_subfolders(subfolders)
        , m_options(std::move(options))
        , m_held(size_t(std::max<qsizetype>(walk.heldFolders, 1)))
    {
        m_options.subfolders = subfolders ? &m_found : nullptr;
    }
    DescriptorWalk(const DescriptorWalk &) = delete;
    DescriptorWalk &operator=(const DescriptorWalk &) = delete;
    // Stopped part-way, the folders still open are closed.
    ~DescriptorWalk()
    {
        for (const Frame &frame : m_chain) {
            if (frame.fd >= 0)
                ::close(frame.fd);
        }
    }

    // Walks the tree from the root, open as rootFd; whether the root was listed.
    bool run(int rootFd)
    {
        enter(QByteArray(), rootFd);
        while (!m_chain.empty() && !m_walk.m_stopped) {
            Frame &top = m_chain.back();
            if (top.next == top.subfolders.size())
                backUp();
            else if (!walkNext(top))
                break;
        }
        return m_rootListed;
    }

private:
    void enter(QByteArray relative, int fd);
    bool identify(const QByteArray &relative, int fd, FolderId *id);
    void hold(QByteArray relative, int fd, FolderId id);
    bool walkNext(Frame &top);
    void backUp();
    void reopen(size_t i, int childFd);
    int reopenByNames(size_t i);

    FolderWalk &m_walk;
    const bool m_subfolders;
    ListingOptions m_options;
    const size_t m_held;
    std::vector<Frame> m_chain;
    std::unordered_map<FolderId, size_t, FolderIdHash> m_onChain; // each frame's place
    size_t m_firstHeld = 1;
    QList<QByteArray> m_found; // the sub-folders of the folder being read
    bool m_rootListed = false;
};

bool FolderWalk::walkDescriptors(bool subfolders, ListingOptions options)
{
    // Even opening a folder on a hung mount can block.
    if (!m_beforeRead(m_rows->size()))
        return false;
    const int rootFd = retryOnInterrupt(
        [&] { return ::open(m_root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (rootFd < 0) {
        fail(QByteArray(), systemReason(errno));
        return false;
    }
    return DescriptorWalk(*this, subfolders, std::move(options)).run(rootFd);
}

// Lists the folder open as fd; with sub-folders it goes on the chain, else fd
// is closed.
void FolderWalk::DescriptorWalk::enter(QByteArray relative, int fd)
{
    FolderId id {};
    if (m_subfolders && !identify(relative, fd, &id)) {
        ::close(fd);
        return;
    }
    m_found.clear();
    m_options.folder = folderPart(relative);
    const bool listed = m_walk.take(relative, [&](QString *reason, const BeforeRead &beforeRead) {
        return listFolderAt(fd, *m_walk.m_rows, reason, m_options, beforeRead);
    }) == Listed;
    m_rootListed = m_rootListed || (listed && relative.isEmpty());
    if (!listed || m_found.isEmpty()) {
        ::close(fd);
        return;
    }
    if (m_walk.beforeSubfolders)
        m_walk.beforeSubfolders(m_walk.pathOf(relative));
    hold(std::move(relative), fd, id);
}

// The id of the folder open as fd in *id; false, the folder named as failed
// or looped, when it has none or is a folder on the way down to it.
bool FolderWalk::DescriptorWalk::identify(const QByteArray &relative, int fd, FolderId *id)
{
    if (!idOf(fd, id)) {
        m_walk.fail(relative, systemReason(errno));
        return false;
    }
    const auto same = m_onChain.find(*id);
    if (same == m_onChain.end())
        return true;
    if (m_walk.looped)
        m_walk.looped(m_walk.pathOf(relative), m_walk.pathOf(m_chain[same->second].relative));
    return false;
}

// Puts a folder with sub-folders on the chain, closing the highest one held
// when that makes more than m_held.
void FolderWalk::DescriptorWalk::hold(QByteArray relative, int fd, FolderId id)
{
    m_onChain.emplace(id, m_chain.size());
    m_chain.push_back(Frame { std::move(relative), fd, id, std::exchange(m_found, {}), 0, {} });
    if (m_chain.size() - m_firstHeld > m_held) {
        Frame &highest = m_chain[m_firstHeld++];
        if (highest.fd >= 0)
            ::close(std::exchange(highest.fd, -1));
    }
}

// Opens top's next sub-folder and enters it; false when told to stop first.
// top is not used after enter(), which may move the chain.
bool FolderWalk::DescriptorWalk::walkNext(Frame &top)
{
    const QByteArray &name = top.subfolders[top.next++];
    QByteArray relative = top.relative.isEmpty() ? name : top.relative + '/' + name;
    if (top.fd < 0) {
        m_walk.fail(relative, top.lost);
        return true;
    }
    if (!m_walk.m_beforeRead(m_walk.m_rows->size()))
        return false;
    // Neither a link swapped in for the sub-folder nor a longer path is followed.
    const int fd = openFolder(top.fd, name.constData(), O_NOFOLLOW);
    if (fd < 0)
        m_walk.fail(relative, systemReason(errno));
    else
        enter(std::move(relative), fd);
    return true;
}

// All the top folder's sub-folders walked: back up to its parent, opening it
// again if it was closed on the way down.
void FolderWalk::DescriptorWalk::backUp()
{
    Frame &top = m_chain.back();
    const size_t last = m_chain.size() - 1;
    if (last >= 1 && m_chain[last - 1].fd < 0 && m_chain[last - 1].lost.isEmpty())
        reopen(last - 1, top.fd);
    if (top.fd >= 0)
        ::close(top.fd);
    m_onChain.erase(top.id);
    m_chain.pop_back();
    if (last >= 1 && last - 1 < m_firstHeld)
        m_firstHeld = std::max<size_t>(last - 1, 1);
}

// Opens m_chain[i] again, closed on the way down, from its sub-folder's
// descriptor childFd (or -1).
void FolderWalk::DescriptorWalk::reopen(size_t i, int childFd)
{
    Frame &frame = m_chain[i];
    FolderId id {};
    int fd = childFd >= 0 ? openFolder(childFd, "..", 0) : -1;
    if (fd >= 0 && (!idOf(fd, &id) || id != frame.id))
        ::close(std::exchange(fd, -1));
    frame.fd = fd >= 0 ? fd : reopenByNames(i);
}

// Moved away: m_chain[i] opened by names from the nearest held folder above,
// each the same as before; -1, with the reason in its lost, when one is not.
int FolderWalk::DescriptorWalk::reopenByNames(size_t i)
{
    size_t from = i - 1;
    while (m_chain[from].fd < 0)
        --from; // the root's is held
    int fd = m_chain[from].fd;
    for (size_t k = from + 1; k <= i && fd >= 0; ++k) {
        const int next = openFolder(fd, m_chain[k].name().constData(), O_NOFOLLOW);
        const int reason = errno;
        if (fd != m_chain[from].fd)
            ::close(fd);
        fd = next;
        FolderId id {};
        if (fd < 0) {
            m_chain[i].lost = systemReason(reason);
        } else if (!idOf(fd, &id) || id != m_chain[k].id) {
            ::close(std::exchange(fd, -1));
            m_chain[i].lost = QCoreApplication::translate(
                "FolderListing", "Its folder was moved or replaced while it was listed.");
        }
    }
    return fd;
}
#endif
