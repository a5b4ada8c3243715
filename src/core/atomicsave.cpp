// SPDX-License-Identifier: MIT
#include "core/atomicsave.h"

#include "core/displaytext.h"
#include "core/savegiveup.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>

#ifdef Q_OS_WIN
#include <QSaveFile>
#endif

#ifndef Q_OS_WIN
#include <QRandomGenerator>

#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <acl/libacl.h>
#include <attr/error_context.h>
#include <attr/libattr.h>
#include <sys/acl.h>
#include <sys/xattr.h>
#endif

namespace {

QString reasonOf(int error)
{
    return qt_error_string(error);
}

// open(), again when a signal interrupts it.
int openFile(const char *path, int flags, mode_t mode = 0)
{
    int fd;
    do
        fd = ::open(path, flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// The file a save replaces: a symbolic link is followed, so that the link
// stays and the file it names gets the list, even where that file is still
// to be made. A new file is made at the path as given. A path that leads
// through a loop of links, or through more links than the system follows,
// names no file: 0, or ELOOP with *path as it was.
int finalPath(QByteArray *path)
{
    QByteArray followed = *path;
    // As many links as the system follows in one path (MAXSYMLINKS).
    for (int depth = 0; depth <= 40; ++depth) {
        if (char *real = ::realpath(followed.constData(), nullptr)) {
            *path = real;
            std::free(real);
            return 0;
        }
        if (errno == ELOOP)
            return ELOOP;
        // A link to a file still to be made: the file it names is made.
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t size = ::readlink(followed.constData(), link.data(), size_t(link.size()));
        if (size < 0 || size >= link.size()) {
            *path = followed;
            return 0;
        }
        link.resize(size);
        const qsizetype slash = followed.lastIndexOf('/');
        followed = link.startsWith('/') || slash < 0 ? link : followed.left(slash + 1) + link;
    }
    return ELOOP;
}

// What a temporary file that could not be made beside path says: the folder,
// when that is what cannot be written (its mode, a read-only mount).
QString creationFailure(const QByteArray &path, int error)
{
    if (error != EACCES && error != EPERM && error != EROFS)
        return qt_error_string(error);
    return QCoreApplication::translate("saveText", "The folder %1 cannot be written: %2")
        .arg(
            displayPath(QFileInfo(QFile::decodeName(path)).absolutePath()), qt_error_string(error));
}

// Made with open() rather than mkstemp(): the mode asked for passes through
// the umask and the folder's default ACL as any new file's does, where
// mkstemp's 0600 would need the umask, which cannot be read without setting
// it for every thread.
int createTemporary(const QByteArray &target, mode_t mode, QByteArray *name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = target + '.';
        for (int i = 0; i < 6; ++i)
            candidate += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = openFile(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL, mode);
        if (fd >= 0 || errno != EEXIST) {
            *name = candidate;
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

#ifdef Q_OS_LINUX
// The old file as libacl and libattr read it: by a descriptor where this user
// may read it, else by its path (a file the user may write but not read).
struct OldFile
{
    explicit OldFile(const QByteArray &path)
        : path(path)
        , fd(openFile(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY))
    { }
    ~OldFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
    OldFile(const OldFile &) = delete;
    OldFile &operator=(const OldFile &) = delete;

    const QByteArray path;
    const int fd;
};

// The new file: the temporary one, open for writing.
struct NewFile
{
    const QByteArray &path;
    int fd;
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
void keepAcl(const OldFile &old, const NewFile &fresh, QStringList *notKept)
{
    const auto lost = [notKept](int error) {
        *notKept << QCoreApplication::translate(
            "saveText", "The list was saved, but the ACL could not be kept: %1")
                        .arg(reasonOf(error));
    };
    const int extended
        = old.fd >= 0 ? ::acl_extended_fd(old.fd) : ::acl_extended_file(old.path.constData());
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
    const int copied = old.fd >= 0
        ? ::perm_copy_fd(old.path.constData(), old.fd, fresh.path.constData(), fresh.fd, &failure)
        : ::perm_copy_file(old.path.constData(), fresh.path.constData(), &failure);
    if (copied != 0)
        lost(failure.reason ? failure.reason : EIO);
}

// What libattr is handed to keep the extended attributes, and what it tells
// of each name: the check before it copies one, then any failure, through the
// callback with errno set.
struct AttributeCopy : error_context
{
    AttributeCopy(const OldFile &old, const NewFile &fresh, QStringList *notKept)
        : error_context { failed, nullptr, nullptr }
        , old(old)
        , fresh(fresh)
        , notKept(notKept)
    { }

    const OldFile &old;
    const NewFile &fresh;
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
        QByteArray present, value;
        if (readSized(&present,
                [&](char *data, size_t size) {
                    return ::fgetxattr(copy->fresh.fd, name, data, size);
                })
            && readSized(&value,
                [&](char *data, size_t size) {
                    return copy->old.fd >= 0
                        ? ::fgetxattr(copy->old.fd, name, data, size)
                        : ::getxattr(copy->old.path.constData(), name, data, size);
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

void keepAttributes(const OldFile &old, const NewFile &fresh, QStringList *notKept)
{
    AttributeCopy copy(old, fresh, notKept);
    if (old.fd >= 0)
        ::attr_copy_fd(old.path.constData(), old.fd, fresh.path.constData(), fresh.fd,
            AttributeCopy::shallCopy, &copy);
    else
        ::attr_copy_file(
            old.path.constData(), fresh.path.constData(), AttributeCopy::shallCopy, &copy);
    if (copy.unsupportedOnNew) {
        for (const QByteArray &name : std::as_const(copy.letThrough)) {
            if (::fgetxattr(fresh.fd, name.constData(), nullptr, 0) < 0)
                copy.lose(name, ENOTSUP);
        }
    }
}
#endif

// Gives the new file what the old one had, before it takes the old one's
// place. Owner and group first: a change of owner clears the set-ID bits,
// which the mode then puts back. The mode after the ACL: setting an ACL sets
// the mode's group bits from its mask. The attributes last, as a change of
// owner drops a file's capabilities.
void keepOldFile(const QByteArray &old, const struct stat &was, const QByteArray &temporary, int fd,
    QStringList *notKept)
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
    const bool ownerKept
        = ::fstat(fd, &now) == 0 && now.st_uid == was.st_uid && now.st_gid == was.st_gid;
#ifdef Q_OS_LINUX
    const OldFile source(old);
    const NewFile fresh { temporary, fd };
    keepAcl(source, fresh, notKept);
#else
    Q_UNUSED(old);
    Q_UNUSED(temporary);
#endif
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
    int modeError = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (!modeError && (::fstat(fd, &now) != 0 || (now.st_mode & 07777) != mode))
        modeError = EPERM;
    if (modeError)
        *notKept << QCoreApplication::translate(
            "saveText", "The list was saved, but its mode could not be kept: %1")
                        .arg(reasonOf(modeError));
#ifdef Q_OS_LINUX
    keepAttributes(source, fresh, notKept);
#endif
}

// The rename is on disk only once the folder holding the new entry is.
int syncFolderOf(const QByteArray &path, DiskSync sync)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int fd = openFile(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return errno;
    const int result = sync ? sync(fd) : ::fsync(fd);
    const int syncError = errno;
    ::close(fd);
    return result == 0 ? 0 : syncError;
}

int syncData(int fd)
{
#if defined(_POSIX_SYNCHRONIZED_IO) && _POSIX_SYNCHRONIZED_IO > 0
    return ::fdatasync(fd);
#else
    return ::fsync(fd);
#endif
}

} // namespace
#endif

QString unconfirmedSaveMessage(const QString &reason)
{
    return QCoreApplication::translate("saveText",
        "The list was saved, but the system could not confirm that it is on the disk: %1")
        .arg(reason);
}

SaveResult saveText(const QString &path, const QByteArray &text, QString *error,
    const SaveHooks &hooks, SaveGiveUp *giveUp)
{
    const auto givenUp
        = [] { return QCoreApplication::translate("saveText", "The save was given up."); };
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return SaveResult::Failed;
    };
    // Renaming over a folder or a device would not do what the user asked.
    const QFileInfo target(path);
    if (target.isDir())
        return fail(qt_error_string(EISDIR));
    if (target.exists() && !target.isFile())
        return fail(QCoreApplication::translate("saveText", "It is not a regular file."));
#ifndef Q_OS_WIN
    // The system says why a file cannot be written (a mode, an immutable file).
    if (target.exists()
        && ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) != 0)
        return fail(qt_error_string(errno));

    QByteArray destination = QFile::encodeName(path);
    if (const int loop = finalPath(&destination))
        return fail(qt_error_string(loop));
    struct stat old;
    const bool replacing = ::stat(destination.constData(), &old) == 0;
    QByteArray temporary;
    // An old file's mode is set once the new one is written: until then only we may read it.
    int fd = createTemporary(destination, replacing ? 0600 : 0666, &temporary);
    if (fd < 0)
        return fail(creationFailure(destination, errno));
    if (giveUp && !giveUp->temporaryMade(temporary)) {
        ::close(fd);
        return fail(givenUp());
    }
    const RemoveFile remove = hooks.remove ? hooks.remove : ::unlink;
    // Nothing is left beside the target after a failure, or what is left is named.
    auto abandon = [&](int reason) {
        if (fd >= 0)
            ::close(fd);
        QString message = qt_error_string(reason);
        if (remove(temporary.constData()) != 0)
            message = QCoreApplication::translate(
                "saveText", "%1; the temporary file %2 could not be removed: %3")
                          .arg(message, displayPath(temporary), qt_error_string(errno));
        return fail(message);
    };
    if (const int writeError = writeAll(fd, text, hooks.write))
        return abandon(writeError);
    QStringList notKept;
    if (replacing)
        keepOldFile(destination, old, temporary, fd, &notKept);
    // Data the system could not write must not replace the old list.
    if ((hooks.file ? hooks.file(fd) : syncData(fd)) != 0)
        return abandon(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR)
        return abandon(errno);
    const RenameFile rename = hooks.rename ? hooks.rename : [](const char *from, const char *to) {
        return ::rename(from, to);
    };
    // Given up, the temporary file is gone already.
    if (giveUp && !giveUp->mayReplace())
        return fail(givenUp());
    if (rename(temporary.constData(), destination.constData()) != 0)
        return abandon(errno);

    // The new list is in place now: what follows cannot undo that.
    QStringList messages;
    const int syncError = syncFolderOf(destination, hooks.folder);
    if (syncError)
        messages << unconfirmedSaveMessage(qt_error_string(syncError));
    messages += notKept;
    if (error && !messages.isEmpty())
        *error = messages.join(QLatin1Char('\n'));
    return syncError        ? SaveResult::Unconfirmed
        : notKept.isEmpty() ? SaveResult::Saved
                            : SaveResult::NotAllKept;
#else
    // The new file takes the folder's inherited ACL, not the old file's.
    Q_UNUSED(hooks);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    for (qsizetype written = 0; written < text.size();) {
        const qint64 n = file.write(text.constData() + written, text.size() - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(reason);
        }
        written += n;
    }
    if (giveUp && !giveUp->mayReplace()) {
        file.cancelWriting();
        return fail(givenUp());
    }
    if (!file.commit())
        return fail(file.errorString());
    return SaveResult::Saved;
#endif
}
