// SPDX-License-Identifier: MIT
#include "core/savefolder.h"

#include "core/displaytext.h"
#include "core/retryoninterrupt.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// A relative path from the working folder, made absolute for messages; not
// cleaned, as ".." after a link is not the folder before it.
QByteArray absolute(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    char *const working = ::getcwd(nullptr, 0);
    if (!working)
        return path;
    const QByteArray made = path == "." ? QByteArray(working) : joined(working, path);
    std::free(working);
    return made;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

SaveFolder::SaveFolder(const QByteArray &path)
    : m_path(absolute(path))
{
    const auto open = [this](int flags) {
        return retryOnInterrupt(
            [&] { return ::open(m_path.constData(), flags | O_DIRECTORY | O_CLOEXEC); });
    };
    m_fd = open(O_RDONLY);
    m_readable = m_fd >= 0;
#ifdef O_PATH
    if (m_fd < 0 && errno == EACCES)
        m_fd = open(O_PATH);
#endif
    if (m_fd < 0)
        m_error = errno;
}

SaveFolder::~SaveFolder()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString SaveFolder::shown() const
{
    return displayPath(m_path);
}

bool SaveFolder::isInPlace() const
{
    struct stat opened, there;
    if (m_fd < 0 || ::fstat(m_fd, &opened) != 0)
        return true;
    if (::stat(m_path.constData(), &there) != 0)
        return errno != ENOENT && errno != ENOTDIR && errno != ELOOP;
    return sameFile(opened, there);
}

QByteArray SaveFolder::whereNow() const
{
#ifdef Q_OS_LINUX
    // The kernel follows the folder through renames; a folder removed reads
    // as its old path with " (deleted)", which leads elsewhere or nowhere.
    const QByteArray own = "/proc/self/fd/" + QByteArray::number(m_fd);
    QByteArray now(PATH_MAX, Qt::Uninitialized);
    const ssize_t size = ::readlink(own.constData(), now.data(), size_t(now.size()));
    if (size <= 0 || size >= now.size() || now[0] != '/')
        return {};
    now.resize(size);
    struct stat opened, there;
    if (::fstat(m_fd, &opened) == 0 && ::stat(now.constData(), &there) == 0
        && sameFile(opened, there))
        return now;
#endif
    return {};
}

QString SaveFolder::movedReason() const
{
    const QByteArray now = whereNow();
    if (now.isNull())
        return QCoreApplication::translate(
            "saveText", "The folder %1 was moved or removed during the save")
            .arg(shown());
    return QCoreApplication::translate("saveText", "The folder %1 was moved to %2 during the save")
        .arg(shown(), displayPath(now));
}

QString SaveFolder::shownFile(const QByteArray &name) const
{
    if (isInPlace())
        return displayPath(joined(m_path, name));
    const QByteArray now = whereNow();
    if (!now.isNull())
        return displayPath(joined(now, name));
    return QCoreApplication::translate("saveText", "%1 in the folder that was at %2")
        .arg(displayText(name), shown());
}

int SaveFolder::sync(DiskSync sync) const
{
    if (m_fd < 0)
        return m_error;
    // A folder opened only to work in cannot be synced; opened again to read,
    // the system says why.
    const int fd = m_readable ? m_fd : retryOnInterrupt([this] {
        return ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    });
    if (fd < 0)
        return errno;
    const int result = sync ? sync(fd) : ::fsync(fd);
    const int error = result == 0 ? 0 : errno;
    if (fd != m_fd)
        ::close(fd);
    return error;
}
