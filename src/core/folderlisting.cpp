// SPDX-License-Identifier: MIT
#include "core/folderlisting.h"

#include "core/filerows.h"

#include <QCoreApplication>
#include <QFile>

// The build may choose how folders are read (QUILLMERE_LISTING in CMake), so
// that the portable ways are built and tested on Linux too; by default the
// fastest one the system has.
#if !defined(QUILLMERE_LISTING_GETDENTS64) && !defined(QUILLMERE_LISTING_READDIR)                  \
    && !defined(QUILLMERE_LISTING_QT)
#if defined(Q_OS_WIN)
#define QUILLMERE_LISTING_QT
#elif defined(__linux__) && defined(__GLIBC__)
#define QUILLMERE_LISTING_GETDENTS64
#else
#define QUILLMERE_LISTING_READDIR
#endif
#endif
#if defined(QUILLMERE_LISTING_GETDENTS64) && !(defined(__linux__) && defined(__GLIBC__))
#error "getdents64 needs Linux and glibc"
#endif
#if defined(Q_OS_WIN) && !defined(QUILLMERE_LISTING_QT)
#error "Windows lists folders through Qt only"
#endif

#ifdef QUILLMERE_LISTING_QT
#include <QDirIterator>
#include <QFileInfo>
#endif
#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#if !defined(Q_OS_WIN)
namespace {

// FUSE and network file systems interrupt calls when a signal arrives;
// each of these is safe to repeat.
template<typename Call> auto retryOnEintr(Call call)
{
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

struct FdCloser
{
    int fd;
    ~FdCloser() { ::close(fd); }
};

} // namespace

bool isListedFile(int dirFd, const char *name, unsigned char type)
{
    if (name[0] == '.') // hidden, and also "." and ".."
        return false;
    if (type == DT_REG)
        return true;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return false;
    struct stat st;
    // Follows links; a broken one fails and is left out.
    return retryOnEintr([&] { return ::fstatat(dirFd, name, &st, 0); }) == 0 && S_ISREG(st.st_mode);
}
#endif

const char *folderListingMethod()
{
#if defined(QUILLMERE_LISTING_GETDENTS64)
    return "getdents64";
#elif defined(QUILLMERE_LISTING_READDIR)
    return "readdir";
#else
    return "qt";
#endif
}

QString listingCancelled()
{
    return QCoreApplication::translate("FolderListing", "The listing was cancelled.");
}

bool listFolder(const QString &folder, FileRows &rows, QString *error, const BeforeRead &beforeRead)
{
#ifdef Q_OS_WIN
    return listFolderBytes(folder.toUtf8(), rows, error, beforeRead);
#else
    return listFolderBytes(QFile::encodeName(folder), rows, error, beforeRead);
#endif
}

bool listFolderBytes(
    const QByteArray &nativePath, FileRows &rows, QString *error, const BeforeRead &beforeRead)
{
    const qsizetype rowsBefore = rows.size();
    auto fail = [&](const QString &reason) {
        rows.truncate(rowsBefore);
        if (error)
            *error = reason;
        return false;
    };
    const QString tooMany = FileRows::limitReason();
    auto stopped = [&] { return beforeRead && !beforeRead(rows.size()); };
    // Even opening a folder on a hung mount can block.
    if (stopped())
        return fail(listingCancelled());

#ifdef QUILLMERE_LISTING_QT
#ifdef Q_OS_WIN
    // A bare drive ("C:") names the drive's current folder to Windows; we mean its root.
    QString path = QString::fromUtf8(nativePath);
    if (path.size() == 2 && path.at(1) == u':')
        path += u'/';
#else
    // Names that are not valid UTF-8 do not survive QString; the other ways keep them.
    const QString path = QFile::decodeName(nativePath);
#endif
    const QFileInfo info(path);
    if (!info.isDir() || !info.isReadable())
        return fail(info.exists()
                ? QCoreApplication::translate("FolderListing", "The folder cannot be read.")
                : QCoreApplication::translate("FolderListing", "The folder does not exist."));
    QDirIterator it(path, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        if (stopped())
            return fail(listingCancelled());
        it.next();
        // QDir::Files also passes links to FIFOs, sockets and devices; the
        // other ways list only what leads to a plain file.
        if (!it.fileInfo().isFile())
            continue;
#ifdef Q_OS_WIN
        if (!rows.append(it.fileName().toUtf8()))
#else
        if (!rows.append(QFile::encodeName(it.fileName())))
#endif
            return fail(tooMany);
    }
    return true;
#else
    const QByteArray &path = nativePath;
    const int fd = retryOnEintr(
        [&] { return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return fail(qt_error_string(errno));
    FdCloser closer { fd };

#if defined(QUILLMERE_LISTING_GETDENTS64)
    // getdents64 straight into a large buffer: a third fewer system calls and
    // no per-entry copy, which matters on folders of a million files.
    constexpr size_t BufferSize = 1 << 18;
    const std::unique_ptr<char[]> buffer(new char[BufferSize]);
    for (;;) {
        if (stopped())
            return fail(listingCancelled());
        const ssize_t n = retryOnEintr([&] { return ::getdents64(fd, buffer.get(), BufferSize); });
        if (n < 0)
            return fail(qt_error_string(errno));
        if (n == 0)
            return true;
        for (ssize_t offset = 0; offset < n;) {
            const auto *entry = reinterpret_cast<const struct dirent64 *>(buffer.get() + offset);
            offset += entry->d_reclen;
            if (isListedFile(fd, entry->d_name, entry->d_type)
                && !rows.append(QByteArrayView(entry->d_name, qsizetype(strlen(entry->d_name)))))
                return fail(tooMany);
        }
    }
#else
    const int dirFd = ::dup(fd);
    DIR *dir = dirFd < 0 ? nullptr : ::fdopendir(dirFd);
    if (!dir)
        return fail(qt_error_string(errno));
    for (;;) {
        if (stopped()) {
            ::closedir(dir);
            return fail(listingCancelled());
        }
        errno = 0;
        const struct dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        if (isListedFile(fd, entry->d_name, entry->d_type)
            && !rows.append(QByteArrayView(entry->d_name, qsizetype(strlen(entry->d_name))))) {
            ::closedir(dir);
            return fail(tooMany);
        }
    }
    const int readError = errno;
    ::closedir(dir);
    return readError == 0 ? true : fail(qt_error_string(readError));
#endif
#endif
}
