// SPDX-License-Identifier: MIT
#include "core/metadatacopy.h"

#include "core/displaytext.h"
#include "core/retryoninterrupt.h"
#include "core/systemreason.h"

#include <QCoreApplication>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <acl/libacl.h>
#include <attr/error_context.h>
#include <attr/libattr.h>
#include <sys/acl.h>
#include <sys/xattr.h>
#endif

OldFile::OldFile(int folder, const QByteArray &name)
    : m_folder(folder)
    , m_name(name)
{
    const auto open = [&](int flags) {
        return retryOnInterrupt(
            [&] { return ::openat(folder, name.constData(), flags | O_NOFOLLOW | O_CLOEXEC); });
    };
    m_fd = open(O_RDONLY | O_NONBLOCK | O_NOCTTY);
    m_readable = m_fd >= 0;
#ifdef O_PATH
    if (m_fd < 0 && errno != ENOENT && errno != ELOOP)
        m_fd = open(O_PATH);
#endif
    if (m_fd >= 0)
        m_exists = ::fstat(m_fd, &m_status) == 0 && S_ISREG(m_status.st_mode);
    else
        m_exists = ::fstatat(folder, name.constData(), &m_status, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(m_status.st_mode);
}

OldFile::~OldFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {

QString reasonOf(int error)
{
    return systemReason(error);
}

#ifdef Q_OS_LINUX
// A file as libacl and libattr are handed it: by its descriptor, or where the
// old file cannot be read, both files by path (byPath), their names in the
// folder's descriptor's path in /proc, which leads to the folder opened. Not
// by the files' own descriptors' paths: libattr would read the links there.
struct Handle
{
    const int fd;
    const bool byPath;
    const QByteArray path;
};

// Reads a list or value of unknown size; false with errno set.
template<typename Read> bool readSized(QByteArray *out, Read read)
{
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return false;
        out->resize(size);
        const ssize_t got = read(out->data(), size_t(size));
        if (got >= 0) {
            out->resize(got);
            return true;
        }
        if (errno != ERANGE) // grown since: ask again
            return false;
    }
}

bool unsupported(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP;
}

// The access ACL of the old file, or none on the new one where the old had
// none (a folder's default ACL may have given it one). libacl sets the mode's
// permission bits with it; the mode is set after this.
void keepAcl(const Handle &old, const Handle &fresh, QStringList *notKept)
{
    const auto lost = [notKept](int error) {
        *notKept << QCoreApplication::translate(
            "saveText", "The list was saved, but the ACL could not be kept: %1")
                        .arg(reasonOf(error));
    };
    const int extended
        = old.byPath ? ::acl_extended_file(old.path.constData()) : ::acl_extended_fd(old.fd);
    if (extended < 0 && !unsupported(errno))
        return lost(errno);
    // Neither file has more than the mode holds, or the file system has no
    // ACLs: the mode, set next, is all there is to keep. libacl would set it
    // itself then, set-ID bits and all, and name its failure as the ACL's.
    if (extended != 1 && ::acl_extended_fd(fresh.fd) != 1)
        return;
    // libacl says why through the callback, with errno set.
    struct Failure : error_context
    {
        Failure()
            : error_context { failed, nullptr, nullptr }
        { }
        static void failed(error_context *context, const char *, ...)
        {
            auto *failure = static_cast<Failure *>(context);
            if (!failure->reason)
                failure->reason = errno;
        }
        int reason = 0;
    } failure;
    const int copied = old.byPath
        ? ::perm_copy_file(old.path.constData(), fresh.path.constData(), &failure)
        : ::perm_copy_fd(old.path.constData(), old.fd, fresh.path.constData(), fresh.fd, &failure);
    if (copied != 0)
        lost(failure.reason ? failure.reason : EIO);
}

// What libattr is handed to keep the extended attributes, and what it tells
// of each name: the check before it copies one, then any failure, through the
// callback with errno set.
struct AttributeCopy : error_context
{
    AttributeCopy(const Handle &old, const Handle &fresh, QStringList *notKept)
        : error_context { failed, nullptr, nullptr }
        , old(old)
        , fresh(fresh)
        , notKept(notKept)
    { }

    const Handle &old;
    const Handle &fresh;
    QStringList *notKept;
    QByteArray copying; // the name last let through: libattr's failures after it are its
    QList<QByteArray> letThrough;
    QList<QByteArray> lost;
    // libattr names no attribute when the file system refuses one as
    // unsupported: the new file then tells which are missing.
    bool unsupportedOnNew = false;

    void lose(const QByteArray &name, int error)
    {
        if (lost.contains(name))
            return;
        lost << name;
        *notKept << QCoreApplication::translate(
            "saveText", "The list was saved, but the extended attribute %1 could not be kept: %2")
                        .arg(displayText(name), reasonOf(error));
    }

    // The user.* and security.* attributes; system.* holds the ACL, kept
    // apart, and trusted.* is root's own.
    static int shallCopy(const char *name, error_context *context)
    {
        auto *copy = static_cast<AttributeCopy *>(context);
        const QByteArrayView attribute(name);
        if (!attribute.startsWith("user.") && !attribute.startsWith("security."))
            return 0;
        // The system may have given the new file the same, as it does SELinux labels.
        const Handle &old = copy->old;
        QByteArray present, value;
        if (readSized(&present,
                [&](char *data, size_t size) {
                    return ::fgetxattr(copy->fresh.fd, name, data, size);
                })
            && readSized(&value,
                [&](char *data, size_t size) {
                    return old.byPath ? ::getxattr(old.path.constData(), name, data, size)
                                      : ::fgetxattr(old.fd, name, data, size);
                })
            && present == value)
            return 0;
        copy->copying = name;
        copy->letThrough << copy->copying;
        return 1;
    }

    static void failed(error_context *context, const char *, ...)
    {
        const int error = errno;
        auto *copy = static_cast<AttributeCopy *>(context);
        if (copy->copying.isEmpty()) {
            // Before any name: the old file's list of names, after which libattr stops.
            *copy->notKept << QCoreApplication::translate("saveText",
                "The list was saved, but its extended attributes could not be "
                "read to keep them: %1")
                                  .arg(reasonOf(error));
        } else if (unsupported(error)) {
            copy->unsupportedOnNew = true;
        } else {
            copy->lose(copy->copying, error);
        }
    }
};

void keepAttributes(const Handle &old, const Handle &fresh, QStringList *notKept)
{
    AttributeCopy copy(old, fresh, notKept);
    if (old.byPath)
        ::attr_copy_file(
            old.path.constData(), fresh.path.constData(), AttributeCopy::shallCopy, &copy);
    else
        ::attr_copy_fd(old.path.constData(), old.fd, fresh.path.constData(), fresh.fd,
            AttributeCopy::shallCopy, &copy);
    if (copy.unsupportedOnNew) {
        for (const QByteArray &name : std::as_const(copy.letThrough)) {
            if (::fgetxattr(fresh.fd, name.constData(), nullptr, 0) < 0)
                copy.lose(name, ENOTSUP);
        }
    }
}
#endif

// Owner and group; a change of owner clears the set-ID bits, which the mode
// then puts back. Whether the new file has both now.
bool keepOwner(const struct stat &was, int fd, QStringList *notKept)
{
    struct stat now;
    if (::fstat(fd, &now) != 0) {
        // Unknown, which no file system has been seen to do: given as if it differed.
        now.st_uid = uid_t(-1);
        now.st_gid = gid_t(-1);
    }
    if ((now.st_uid != was.st_uid || now.st_gid != was.st_gid)
        && ::fchown(fd, was.st_uid, was.st_gid) != 0) {
        const int error = errno;
        // Not allowed to give the file away: keep the group, where it is one of ours.
        if (now.st_gid != was.st_gid && ::fchown(fd, uid_t(-1), was.st_gid) == 0)
            now.st_gid = was.st_gid;
        const bool ownerLost = now.st_uid != was.st_uid, groupLost = now.st_gid != was.st_gid;
        const char *const lost = ownerLost && groupLost
            ? QT_TRANSLATE_NOOP(
                "saveText", "The list was saved, but its owner and group could not be kept: %1")
            : ownerLost ? QT_TRANSLATE_NOOP(
                  "saveText", "The list was saved, but its owner could not be kept: %1")
                        : QT_TRANSLATE_NOOP(
                            "saveText", "The list was saved, but its group could not be kept: %1");
        *notKept << QCoreApplication::translate("saveText", lost).arg(reasonOf(error));
    }
    return ::fstat(fd, &now) == 0 && now.st_uid == was.st_uid && now.st_gid == was.st_gid;
}

// The mode, after the ACL: setting an ACL sets the mode's group bits from its mask.
void keepMode(const struct stat &was, bool ownerKept, int fd, QStringList *notKept)
{
    mode_t mode = was.st_mode & 07777;
    // Set-ID bits on a file of another owner or group would hand out their rights.
    if (!ownerKept && (mode & (S_ISUID | S_ISGID))) {
        mode &= ~mode_t(S_ISUID | S_ISGID);
        *notKept << QCoreApplication::translate("saveText",
            "The list was saved without its set-user-ID and set-group-ID bits, "
            "as its owner or group could not be kept.");
    }
    // The system drops the set-group-ID bit without a word for a group that
    // is not the user's own: the mode is read back.
    struct stat now;
    int modeError = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (!modeError && (::fstat(fd, &now) != 0 || (now.st_mode & 07777) != mode))
        modeError = EPERM;
    if (modeError)
        *notKept << QCoreApplication::translate(
            "saveText", "The list was saved, but its mode could not be kept: %1")
                        .arg(reasonOf(modeError));
}

} // namespace

// Owner and group first, the mode after the ACL, the attributes last, as a
// change of owner drops a file's capabilities.
void keepOldFile(const OldFile &old, const QByteArray &temporary, int fd, QStringList *notKept)
{
    const bool ownerKept = keepOwner(old.status(), fd, notKept);
#ifdef Q_OS_LINUX
    const QByteArray folder = "/proc/self/fd/" + QByteArray::number(old.folder()) + '/';
    const Handle source { old.fd(), !old.isReadable(), folder + old.name() },
        fresh { fd, !old.isReadable(), folder + temporary };
    if (old.fd() >= 0)
        keepAcl(source, fresh, notKept);
#else
    Q_UNUSED(temporary);
#endif
    keepMode(old.status(), ownerKept, fd, notKept);
#ifdef Q_OS_LINUX
    if (old.fd() >= 0)
        keepAttributes(source, fresh, notKept);
#endif
}
