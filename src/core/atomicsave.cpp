// SPDX-License-Identifier: MIT
#include "core/atomicsave.h"

#include "core/savegiveup.h"
#include "core/systemreason.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include "core/metadatacopy.h"
#include "core/retryoninterrupt.h"
#include "core/savefolder.h"

#include <QRandomGenerator>
#include <QStringList>

#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString givenUpReason()
{
    return QCoreApplication::translate("saveText", "The save was given up.");
}

SaveResult fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return SaveResult::Failed;
}

#ifndef Q_OS_WIN
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

// What a temporary file that could not be made in folder says: the folder,
// when that is what cannot be written (its mode, a read-only mount).
QString creationFailure(const SaveFolder &folder, int error)
{
    if (error != EACCES && error != EPERM && error != EROFS)
        return systemReason(error);
    return QCoreApplication::translate("saveText", "The folder %1 cannot be written: %2")
        .arg(folder.shown(), systemReason(error));
}

int syncData(int fd)
{
#if defined(_POSIX_SYNCHRONIZED_IO) && _POSIX_SYNCHRONIZED_IO > 0
    return ::fdatasync(fd);
#else
    return ::fsync(fd);
#endif
}

// One save, from the temporary file made beside the target until it has
// replaced the target or is removed again.
class Replacement
{
public:
    Replacement(const SaveHooks &hooks, SaveGiveUp *giveUp, QString *error)
        : m_hooks(hooks)
        , m_giveUp(giveUp)
        , m_error(error)
    { }
    ~Replacement()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    SaveResult run(const QByteArray &destination, const QByteArray &text);

private:
    int createTemporary(mode_t mode);
    SaveResult replace(const QStringList &notKept);
    // Nothing is left beside the target after a failure, or what is left is named.
    SaveResult abandon(const QString &reason);

    const SaveHooks &m_hooks;
    SaveGiveUp *const m_giveUp;
    QString *const m_error;
    std::shared_ptr<const SaveFolder> m_folder;
    QByteArray m_name; // the target's, in m_folder
    QByteArray m_temporary; // the temporary file's, in m_folder
    int m_fd = -1; // the temporary file, until it is closed
};

SaveResult Replacement::run(const QByteArray &destination, const QByteArray &text)
{
    const qsizetype slash = destination.lastIndexOf('/');
    m_name = destination.mid(slash + 1);
    m_folder = std::make_shared<const SaveFolder>(slash < 0 ? QByteArray(".")
            : slash == 0                                    ? QByteArray("/")
                                                            : destination.left(slash));
    if (m_folder->fd() < 0)
        return fail(m_error, creationFailure(*m_folder, m_folder->error()));
    if (m_name.isEmpty())
        return fail(m_error, systemReason(EISDIR));
    const OldFile old(m_folder->fd(), m_name);
    // An old file's mode is set once the new one is written: until then only we may read it.
    m_fd = createTemporary(old.exists() ? 0600 : 0666);
    if (m_fd < 0)
        return fail(m_error, creationFailure(*m_folder, errno));
    if (m_giveUp && !m_giveUp->temporaryMade(m_folder, m_temporary))
        return fail(m_error, givenUpReason());
    if (const int writeError = writeAll(m_fd, text, m_hooks.write))
        return abandon(systemReason(writeError));
    QStringList notKept;
    if (old.exists())
        keepOldFile(old, m_temporary, m_fd, &notKept);
    // Data the system could not write must not replace the old list.
    if ((m_hooks.file ? m_hooks.file(m_fd) : syncData(m_fd)) != 0)
        return abandon(systemReason(errno));
    // EINTR from close() leaves the descriptor closed, the data synced before.
    if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR)
        return abandon(systemReason(errno));
    return replace(notKept);
}

// Made with openat() rather than mkstemp(): the mode asked for passes through
// the umask and the folder's default ACL as any new file's does, where
// mkstemp's 0600 would need the umask, which cannot be read without setting
// it for every thread.
int Replacement::createTemporary(mode_t mode)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = m_name + '.';
        for (int i = 0; i < 6; ++i)
            candidate += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = retryOnInterrupt([&] {
            return ::openat(m_folder->fd(), candidate.constData(),
                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        });
        if (fd >= 0 || errno != EEXIST) {
            m_temporary = candidate;
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

SaveResult Replacement::replace(const QStringList &notKept)
{
    // Where the path now leads to another folder, or to none, the list stays
    // out of both: asked before the last chance to give up, which it ends.
    if (!m_folder->isInPlace())
        return abandon(m_folder->movedReason());
    // Given up, the temporary file is gone already.
    if (m_giveUp && !m_giveUp->mayReplace())
        return fail(m_error, givenUpReason());
    const RenameFile rename = m_hooks.rename ? m_hooks.rename : ::renameat;
    const int folder = m_folder->fd();
    if (rename(folder, m_temporary.constData(), folder, m_name.constData()) != 0)
        return abandon(systemReason(errno));

    // The new list is in place now: what follows cannot undo that.
    QStringList messages;
    const int syncError = m_folder->sync(m_hooks.folder);
    if (syncError)
        messages << unconfirmedSaveMessage(systemReason(syncError));
    messages += notKept;
    if (m_error && !messages.isEmpty())
        *m_error = messages.join(QLatin1Char('\n'));
    return syncError        ? SaveResult::Unconfirmed
        : notKept.isEmpty() ? SaveResult::Saved
                            : SaveResult::NotAllKept;
}

SaveResult Replacement::abandon(const QString &reason)
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    const RemoveFile remove = m_hooks.remove ? m_hooks.remove : ::unlinkat;
    // Gone already where a give-up removed it meanwhile.
    if (remove(m_folder->fd(), m_temporary.constData(), 0) == 0 || errno == ENOENT)
        return fail(m_error, reason);
    const int error = errno;
    return fail(m_error,
        QCoreApplication::translate(
            "saveText", "%1; the temporary file %2 could not be removed: %3")
            .arg(reason, m_folder->shownFile(m_temporary), systemReason(error)));
}
#else
// The new file takes the folder's inherited ACL, not the old file's.
SaveResult saveFile(const QString &path, const QByteArray &text, QString *error, SaveGiveUp *giveUp)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, file.errorString());
    for (qsizetype written = 0; written < text.size();) {
        const qint64 n = file.write(text.constData() + written, text.size() - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(error, reason);
        }
        written += n;
    }
    if (giveUp && !giveUp->mayReplace()) {
        file.cancelWriting();
        return fail(error, givenUpReason());
    }
    if (!file.commit())
        return fail(error, file.errorString());
    return SaveResult::Saved;
}
#endif

} // namespace

QString unconfirmedSaveMessage(const QString &reason)
{
    return QCoreApplication::translate("saveText",
        "The list was saved, but the system could not confirm that it is on the disk: %1")
        .arg(reason);
}

SaveResult saveText(const QString &path, const QByteArray &text, QString *error,
    const SaveHooks &hooks, SaveGiveUp *giveUp)
{
    // Renaming over a folder or a device would not do what the user asked.
    const QFileInfo target(path);
    if (target.isDir())
        return fail(error, systemReason(EISDIR));
    if (target.exists() && !target.isFile())
        return fail(error, QCoreApplication::translate("saveText", "It is not a regular file."));
#ifndef Q_OS_WIN
    // The system says why a file cannot be written (a mode, an immutable file).
    if (target.exists()
        && ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) != 0)
        return fail(error, systemReason(errno));
    QByteArray destination = QFile::encodeName(path);
    if (const int loop = finalPath(&destination))
        return fail(error, systemReason(loop));
    return Replacement(hooks, giveUp, error).run(destination, text);
#else
    Q_UNUSED(hooks);
    return saveFile(path, text, error, giveUp);
#endif
}
