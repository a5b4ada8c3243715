// SPDX-License-Identifier: MIT
#include "core/folderlisting.h"

#include "core/filerows.h"
#include "core/retryoninterrupt.h"
#include "core/systemreason.h"

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

struct FdCloser
{
    int fd;
    ~FdCloser() { ::close(fd); }
};

} // namespace

namespace {

bool isPlainFile(int dirFd, const char *name, unsigned char type)
{
    if (type == DT_REG)
        return true;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return false;
    struct stat st;
    // Follows links; a broken one fails and is left out.
    return retryOnInterrupt([&] { return ::fstatat(dirFd, name, &st, 0); }) == 0
        && S_ISREG(st.st_mode);
}

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Adds one entry of the open folder dirFd as options say; false only when
// the rows are full.
[[maybe_unused]] bool addEntry(
    int dirFd, const char *name, unsigned char type, FileRows &rows, const ListingOptions &options)
{
    if (name[0] == '.' && (!options.hidden || isDotOrDotDot(name)))
        return true;
    if (options.subfolders) {
        if (type == DT_UNKNOWN) {
            // Not followed: a link to a folder is neither a sub-folder nor a file.
            struct stat st;
            if (retryOnInterrupt([&] { return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW); })
                != 0)
                return true;
            type = S_ISDIR(st.st_mode) ? DT_DIR
                : S_ISREG(st.st_mode)  ? DT_REG
                : S_ISLNK(st.st_mode)  ? DT_LNK
                                       : DT_FIFO; // any type that is not listed
        }
        if (type == DT_DIR) {
            options.subfolders->append(QByteArray(name));
            return true;
        }
    }
    if (!isPlainFile(dirFd, name, type))
        return true;
    const QByteArrayView view(name, qsizetype(strlen(name)));
    return (options.keep && !options.keep(view)) || rows.append(options.folder, view);
}

} // namespace

bool isListedFile(int dirFd, const char *name, unsigned char type)
{
    return name[0] != '.' && isPlainFile(dirFd, name, type); // hidden, and also "." and ".."
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

QString loopDetected(const QString &sameFolder)
{
    // As find says it.
    return QCoreApplication::translate(
        "FolderListing", "File system loop detected; it is the same folder as %1")
        .arg(sameFolder);
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
    return listFolderBytes(nativePath, rows, error, ListingOptions(), beforeRead);
}

namespace {

// Why rows could not take a name: its path too long, or the rows full.
[[maybe_unused]] QString rowsFullReason(const ListingOptions &options, qsizetype nameLength)
{
#ifndef Q_OS_WIN
    if (options.folder.size() + nameLength > FileRows::MaxNameLength)
        return systemReason(ENAMETOOLONG);
#else
    Q_UNUSED(options);
    Q_UNUSED(nameLength);
#endif
    return FileRows::limitReason();
}

// What a listing that fails leaves: the rows and sub-folders as they were,
// and its reason.
class Failure
{
public:
    Failure(FileRows &rows, QString *error, const ListingOptions &options)
        : m_rows(rows)
        , m_error(error)
        , m_options(options)
        , m_rowsBefore(rows.size())
        , m_subfoldersBefore(options.subfolders ? options.subfolders->size() : 0)
    { }
    bool operator()(const QString &reason) const
    {
        m_rows.truncate(m_rowsBefore);
        if (m_options.subfolders)
            m_options.subfolders->resize(m_subfoldersBefore);
        if (m_error)
            *m_error = reason;
        return false;
    }

private:
    FileRows &m_rows;
    QString *m_error;
    const ListingOptions &m_options;
    const qsizetype m_rowsBefore, m_subfoldersBefore;
};

#ifndef QUILLMERE_LISTING_QT
// Reads the open folder fd from where it stands to its end.
bool readOpenFolder(int fd, FileRows &rows, const ListingOptions &options,
    const BeforeRead &beforeRead, const Failure &fail)
{
    auto stopped = [&] { return beforeRead && !beforeRead(rows.size()); };
#if defined(QUILLMERE_LISTING_GETDENTS64)
    // getdents64 straight into a large buffer: a third fewer system calls and
    // no per-entry copy, which matters on folders of a million files.
    constexpr size_t BufferSize = 1 << 18;
    const std::unique_ptr<char[]> buffer(new char[BufferSize]);
    for (;;) {
        if (stopped())
            return fail(listingCancelled());
        const ssize_t n
            = retryOnInterrupt([&] { return ::getdents64(fd, buffer.get(), BufferSize); });
        if (n < 0)
            return fail(systemReason(errno));
        if (n == 0)
            return true;
        for (ssize_t offset = 0; offset < n;) {
            const auto *entry = reinterpret_cast<const struct dirent64 *>(buffer.get() + offset);
            offset += entry->d_reclen;
            if (!addEntry(fd, entry->d_name, entry->d_type, rows, options))
                return fail(rowsFullReason(options, qsizetype(strlen(entry->d_name))));
        }
    }
#else
    // The copy shares fd's place in the folder; closedir() closes the copy alone.
    const int dirFd = ::dup(fd);
    DIR *dir = dirFd < 0 ? nullptr : ::fdopendir(dirFd);
    if (!dir) {
        const int reason = errno;
        if (dirFd >= 0)
            ::close(dirFd);
        return fail(systemReason(reason));
    }
    for (;;) {
        if (stopped()) {
            ::closedir(dir);
            return fail(listingCancelled());
        }
        errno = 0;
        const struct dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        if (!addEntry(fd, entry->d_name, entry->d_type, rows, options)) {
            const QString reason = rowsFullReason(options, qsizetype(strlen(entry->d_name)));
            ::closedir(dir);
            return fail(reason);
        }
    }
    const int readError = errno;
    ::closedir(dir);
    return readError == 0 ? true : fail(systemReason(readError));
#endif
}
#endif

} // namespace

bool listsOpenFolders()
{
#ifdef QUILLMERE_LISTING_QT
    return false;
#else
    return true;
#endif
}

#ifndef Q_OS_WIN
bool listFolderAt(int dirFd, FileRows &rows, QString *error, const ListingOptions &options,
    const BeforeRead &beforeRead)
{
    const Failure fail(rows, error, options);
#ifdef QUILLMERE_LISTING_QT
    Q_UNUSED(dirFd);
    Q_UNUSED(beforeRead);
    return fail(systemReason(ENOTSUP));
#else
    return readOpenFolder(dirFd, rows, options, beforeRead, fail);
#endif
}
#endif

#ifdef QUILLMERE_LISTING_QT
namespace {

// The QDirIterator way: by path alone, names through QString.
bool readByPath(const QByteArray &nativePath, FileRows &rows, const ListingOptions &options,
    const BeforeRead &beforeRead, const Failure &fail)
{
    auto stopped = [&] { return beforeRead && !beforeRead(rows.size()); };
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
    QDir::Filters filters = QDir::Files | QDir::NoDotAndDotDot;
    if (options.hidden)
        filters |= QDir::Hidden;
    if (options.subfolders)
        filters |= QDir::Dirs;
    QDirIterator it(path, filters);
    while (it.hasNext()) {
        if (stopped())
            return fail(listingCancelled());
        it.next();
#ifdef Q_OS_WIN
        const QByteArray name = it.fileName().toUtf8();
#else
        const QByteArray name = QFile::encodeName(it.fileName());
#endif
        const QFileInfo entry = it.fileInfo();
        if (options.subfolders && entry.isDir()) {
            if (!entry.isSymLink())
                options.subfolders->append(name);
            continue;
        }
        // QDir::Files also passes links to FIFOs, sockets and devices; the
        // other ways list only what leads to a plain file.
        if (!entry.isFile() || (options.keep && !options.keep(name)))
            continue;
        if (!rows.append(options.folder, name))
            return fail(rowsFullReason(options, name.size()));
    }
    return true;
}

} // namespace
#endif

bool listFolderBytes(const QByteArray &nativePath, FileRows &rows, QString *error,
    const ListingOptions &options, const BeforeRead &beforeRead)
{
    const Failure fail(rows, error, options);
    // Even opening a folder on a hung mount can block.
    if (beforeRead && !beforeRead(rows.size()))
        return fail(listingCancelled());
#ifdef QUILLMERE_LISTING_QT
    return readByPath(nativePath, rows, options, beforeRead, fail);
#else
    const int fd = retryOnInterrupt(
        [&] { return ::open(nativePath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return fail(systemReason(errno));
    FdCloser closer { fd };
    return readOpenFolder(fd, rows, options, beforeRead, fail);
#endif
}
