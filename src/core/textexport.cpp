// SPDX-License-Identifier: MIT
#include "core/textexport.h"

#include "core/filelistmodel.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A replacement owned by whoever saves would take the file from its owner:
// root saving over a user's 0600 file would lock the user out. Best effort,
// before the rename: an ordinary user may hand over only the group, and only
// one of their own.
void keepOwnerAndGroup(const QString &target, int fd)
{
    struct stat old, fresh;
    if (::stat(QFile::encodeName(target).constData(), &old) != 0 || ::fstat(fd, &fresh) != 0)
        return;
    if (old.st_uid == fresh.st_uid && old.st_gid == fresh.st_gid)
        return;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && old.st_gid != fresh.st_gid) {
        // Not allowed to give the file away: keep the group, where it is one of ours.
        [[maybe_unused]] const int groupKept = ::fchown(fd, uid_t(-1), old.st_gid);
    }
}

// The rename is on disk only once the folder holding the new entry is.
int syncFolderOf(const QString &path, DiskSync sync)
{
    const QString folder = QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath();
    int fd;
    do
        fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    auto name = [&files](size_t row) { return files.rows->name(files.order[row]); };
#ifdef Q_OS_WIN
    QByteArray text;
    for (size_t row = 0; row < rows; ++row)
        text += QString::fromUtf8(name(row)).toLocal8Bit() + end;
    return text;
#else
    qsizetype size = 0;
    for (size_t row = 0; row < rows; ++row)
        size += name(row).size() + end.size();
    QByteArray text(size, Qt::Uninitialized);
    char *out = text.data();
    for (size_t row = 0; row < rows; ++row) {
        const QByteArrayView name = files.rows->name(files.order[row]);
        std::memcpy(out, name.data(), size_t(name.size()));
        out += name.size();
        for (const char c : end)
            *out++ = c;
    }
    return text;
#endif
}

QString unconfirmedSaveMessage(const QString &reason)
{
    return QCoreApplication::translate("saveText",
        "The list was saved, but the system could not confirm that it is on the disk: %1")
        .arg(reason);
}

SaveResult saveText(
    const QString &path, const QByteArray &text, QString *error, const SaveSyncs &syncs)
{
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
    // Qt would say only "not writable"; the system says why (a mode, an immutable file).
    if (target.exists()
        && ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) != 0)
        return fail(qt_error_string(errno));
#endif

    QSaveFile file(path);
    // Unbuffered, and written until done: a short write carries no error, only
    // the write after it tells the system's reason ("No space left on device").
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
#ifndef Q_OS_WIN
    if (target.exists())
        keepOwnerAndGroup(path, file.handle());
#endif
    for (qsizetype written = 0; written < text.size();) {
        const qint64 n = file.write(text.constData() + written, text.size() - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(reason);
        }
        written += n;
    }
#ifndef Q_OS_WIN
    // commit() syncs too but ignores the result: data the system could not
    // write must not replace the old list.
    if ((syncs.file ? syncs.file(file.handle()) : syncData(file.handle())) != 0) {
        const QString reason = qt_error_string(errno);
        file.cancelWriting();
        return fail(reason);
    }
#endif
    if (!file.commit())
        return fail(file.errorString());
#ifndef Q_OS_WIN
    // The new list is in place now: this failure cannot undo that.
    if (const int syncError = syncFolderOf(path, syncs.folder)) {
        if (error)
            *error = qt_error_string(syncError);
        return SaveResult::Unconfirmed;
    }
#else
    Q_UNUSED(syncs);
#endif
    return SaveResult::Saved;
}
