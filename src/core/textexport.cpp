// SPDX-License-Identifier: MIT
#include "core/textexport.h"

#include "core/displaytext.h"
#include "core/filelistmodel.h"
#include "core/parallel.h"
#include "core/savegiveup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <vector>

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
#include <sys/acl.h>
#include <sys/xattr.h>
#endif

namespace {

QString reasonOf(int error)
{
    return qt_error_string(error);
}

// The file a save replaces: a symbolic link is followed, so that the link
// stays and the file it names gets the list, even where that file is still
// to be made. A new file is made at the path as given.
QByteArray finalPath(QByteArray path)
{
    for (int depth = 0; depth < 40; ++depth) {
        if (char *real = ::realpath(path.constData(), nullptr)) {
            path = real;
            std::free(real);
            return path;
        }
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t size = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (size < 0 || size >= link.size())
            return path;
        link.resize(size);
        const qsizetype slash = path.lastIndexOf('/');
        path = link.startsWith('/') || slash < 0 ? link : path.left(slash + 1) + link;
    }
    return path;
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
        int fd;
        do
            fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        while (fd < 0 && errno == EINTR);
        if (fd >= 0 || errno != EEXIST) {
            *name = candidate;
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// 0, or the system's reason. A short write carries no error: only the write
// after it tells why ("No space left on device").
int writeAll(int fd, const QByteArray &text)
{
    const char *data = text.constData();
    for (size_t left = size_t(text.size()); left > 0;) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        data += n;
        left -= size_t(n);
    }
    return 0;
}

#ifdef Q_OS_LINUX
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
// none (a folder's default ACL may have given it one). The system keeps the
// ACL's owner, group and other entries as the mode, which is set after this.
void keepAcl(const QByteArray &old, mode_t oldMode, int fd, QStringList *notKept)
{
    const auto lost = [notKept](int error) {
        *notKept << QCoreApplication::translate(
            "saveText", "The list was saved, but the ACL could not be kept: %1")
                        .arg(reasonOf(error));
    };
    const int extended = ::acl_extended_file(old.constData());
    if (extended < 0 && !unsupported(errno))
        return lost(errno);
    if (extended == 1) {
        acl_t acl = ::acl_get_file(old.constData(), ACL_TYPE_ACCESS);
        if (!acl || ::acl_set_fd(fd, acl) != 0)
            lost(errno);
        if (acl)
            ::acl_free(acl);
    } else if (::acl_extended_fd(fd) == 1) {
        acl_t plain = ::acl_from_mode(oldMode);
        if (!plain || ::acl_set_fd(fd, plain) != 0)
            lost(errno);
        if (plain)
            ::acl_free(plain);
    }
}

// The user.* and security.* attributes; system.* holds the ACL, kept above,
// and trusted.* is root's own.
void keepAttributes(const QByteArray &old, int fd, QStringList *notKept)
{
    QByteArray names;
    if (!readSized(&names,
            [&](char *list, size_t size) { return ::listxattr(old.constData(), list, size); })) {
        if (!unsupported(errno))
            *notKept << QCoreApplication::translate("saveText",
                "The list was saved, but its extended attributes could not be "
                "read to keep them: %1")
                            .arg(reasonOf(errno));
        return;
    }
    for (const QByteArray &name : names.split('\0')) {
        if (!name.startsWith("user.") && !name.startsWith("security."))
            continue;
        QByteArray value, present;
        const bool read = readSized(&value, [&](char *data, size_t size) {
            return ::getxattr(old.constData(), name.constData(), data, size);
        });
        // The system may have given the new file the same, as it does SELinux labels.
        if (read
            && readSized(&present,
                [&](char *data, size_t size) {
                    return ::fgetxattr(fd, name.constData(), data, size);
                })
            && present == value)
            continue;
        if (!read
            || ::fsetxattr(fd, name.constData(), value.constData(), size_t(value.size()), 0) != 0) {
            const int error = errno;
            *notKept << QCoreApplication::translate("saveText",
                "The list was saved, but the extended attribute %1 could not be kept: %2")
                            .arg(displayText(name), reasonOf(error));
        }
    }
}
#endif

// Gives the new file what the old one had, before it takes the old one's
// place. Owner and group first: a change of owner clears the set-ID bits,
// which the mode then puts back. The mode after the ACL: setting an ACL sets
// the mode's group bits from its mask. The attributes last, as a change of
// owner drops a file's capabilities.
void keepOldFile(const QByteArray &old, const struct stat &was, int fd, QStringList *notKept)
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
    keepAcl(old, was.st_mode, fd, notKept);
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
    keepAttributes(old, fd, notKept);
#else
    Q_UNUSED(old);
#endif
}

// The rename is on disk only once the folder holding the new entry is.
int syncFolderOf(const QByteArray &path, DiskSync sync)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    int fd;
    do
        fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
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

QByteArray exportText(const FileListModel &files, LineEnd lineEnd)
{
    return exportText(files.arrangement(), lineEnd);
}

QByteArray exportText(const FileArrangement &files, LineEnd lineEnd)
{
    const size_t rows = files.order.size();
    const QByteArrayView end = lineEnd == LineEnd::CrLf ? QByteArrayView("\r\n")
        : lineEnd == LineEnd::Lf                        ? QByteArrayView("\n")
                                                        : QByteArrayView("\0", 1);
#ifdef Q_OS_WIN
    QByteArray text;
    for (size_t row = 0; row < rows; ++row)
        text += QString::fromUtf8(files.rows->name(files.order[row])).toLocal8Bit() + end;
    return text;
#else
    // One pass, each row and its name asked for ahead: into room for every
    // name, then cut to the size written.
    QByteArray text(files.rows->nameBytes() + qsizetype(rows) * end.size(), Qt::Uninitialized);
    char *out = text.data();
    const FileRows &names = *files.rows;
    for (size_t row = 0; row < rows; ++row) {
        if (row + 16 < rows)
            names.prefetch(files.order[row + 16], false);
        if (row + 8 < rows)
            names.prefetch(files.order[row + 8], true);
        const QByteArrayView name = names.name(files.order[row]);
        std::memcpy(out, name.data(), size_t(name.size()));
        out += name.size();
        for (const char c : end)
            *out++ = c;
    }
    text.truncate(out - text.constData());
    return text;
#endif
}

namespace {

// The lines of the rows at display positions [begin, end).
QString listTextOf(const FileArrangement &files, ListText what, size_t begin, size_t end)
{
    QString text;
    // Most names are ASCII: one character per byte, plus the folder of a path.
    text.reserve(qsizetype(end - begin) * (what == ListText::Paths ? 48 : 16));
    QString folder;
    qsizetype first = 0, last = 0; // the rows of the folder at hand
    for (size_t i = begin; i < end; ++i) {
        const uint32_t row = files.order[i];
        const QByteArrayView name = files.rows->name(row);
        if (what == ListText::Names) {
            text += displayText(name);
        } else {
            // Rows mostly come in runs of one folder: look it up once per run.
            if (qsizetype(row) < first || qsizetype(row) >= last) {
                folder = files.rows->folder(row, &first, &last);
                if (!folder.endsWith(u'/')) // the root ends in one already
                    folder += u'/';
                folder = QDir::toNativeSeparators(folder);
            }
            text += folder;
            text += QString::fromUtf8(name);
        }
        text += u'\n';
    }
    return text;
}

} // namespace

QString listText(const FileArrangement &files, ListText what)
{
    // Each core makes the lines of one part of a long list.
    const size_t rows = files.order.size();
    const int parts = rows < 65536 ? 1 : std::max(1, QThread::idealThreadCount());
    if (parts == 1)
        return listTextOf(files, what, 0, rows);
    // runWorkers, not QtConcurrent's mapped results: its hand-over is one
    // ThreadSanitizer sees through, so the suite can look for races here.
    std::vector<QString> texts(static_cast<size_t>(parts));
    runWorkers(parts, [&](int part) {
        texts[size_t(part)] = listTextOf(files, what, rows * size_t(part) / size_t(parts),
            rows * size_t(part + 1) / size_t(parts));
    });
    qsizetype size = 0;
    for (const QString &part : texts)
        size += part.size();
    QString text;
    text.reserve(size);
    for (const QString &part : texts)
        text += part;
    return text;
}

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

    const QByteArray destination = finalPath(QFile::encodeName(path));
    struct stat old;
    const bool replacing = ::stat(destination.constData(), &old) == 0;
    QByteArray temporary;
    // An old file's mode is set once the new one is written: until then only we may read it.
    int fd = createTemporary(destination, replacing ? 0600 : 0666, &temporary);
    if (fd < 0)
        return fail(qt_error_string(errno));
    if (giveUp && !giveUp->temporaryMade(temporary)) {
        ::close(fd);
        return fail(givenUp());
    }
    // Nothing is left beside the target after a failure, or what is left is named.
    auto abandon = [&](int reason) {
        if (fd >= 0)
            ::close(fd);
        QString message = qt_error_string(reason);
        if (::unlink(temporary.constData()) != 0)
            message = QCoreApplication::translate(
                "saveText", "%1; the temporary file %2 could not be removed: %3")
                          .arg(message, displayPath(temporary), qt_error_string(errno));
        return fail(message);
    };
    if (const int writeError = writeAll(fd, text))
        return abandon(writeError);
    QStringList notKept;
    if (replacing)
        keepOldFile(destination, old, fd, &notKept);
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
