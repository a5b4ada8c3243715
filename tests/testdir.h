// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

// A temporary folder that makes files by their raw names, so that tests can use
// names that are not valid UTF-8 or that hold control characters.
class TestDir : public QTemporaryDir
{
public:
    TestDir() { setAutoRemove(false); }
    // QDir skips names that are not UTF-8, so it could not remove them: go by bytes.
    ~TestDir()
    {
        if (!isValid())
            return;
        ::nftw(
            encodedPath().constData(),
            [](const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); },
            16, FTW_DEPTH | FTW_PHYS);
    }
    TestDir(const TestDir &) = delete;
    TestDir &operator=(const TestDir &) = delete;

    QByteArray encodedPath() const { return QFile::encodeName(path()); }

    QString createFiles(const QList<QByteArray> &names, const QByteArray &content = {}) const
    {
        for (const QByteArray &name : names) {
            const QByteArray full = encodedPath() + '/' + name;
            const int fd = ::open(full.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0)
                return QStringLiteral("cannot create ") + QString::fromUtf8(name);
            const bool written
                = ::write(fd, content.constData(), size_t(content.size())) == content.size();
            ::close(fd);
            if (!written)
                return QStringLiteral("cannot write ") + QString::fromUtf8(name);
        }
        return QString();
    }
};

// Makes folders name/name/... in dir, each with mkdirat() in the one before,
// until their path from dir is longer than bytes, then an empty file in the
// last; returns that file's path from dir, or an empty array when something
// could not be made. No path longer than one name is given to the system, so
// the folders may go deeper than PATH_MAX (flattenTree() before dir is removed).
inline QByteArray makeDeepFolders(
    const QByteArray &dir, const QByteArray &name, qsizetype bytes, const QByteArray &file)
{
    int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QByteArray path;
    while (fd >= 0 && path.size() <= bytes) {
        const int next = ::mkdirat(fd, name.constData(), 0700) == 0
            ? ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
            : -1;
        ::close(fd);
        fd = next;
        path += name + '/';
    }
    const int made
        = fd < 0 ? -1 : ::openat(fd, file.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    if (made < 0)
        return QByteArray();
    ::close(made);
    return path + file;
}

// Moves every folder of dir's tree up into dir itself, under names of its
// own, so that a tree deeper than PATH_MAX can be removed by paths.
inline void flattenTree(const QByteArray &dir)
{
    const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return;
    const auto subfolders = [](int fd) {
        std::vector<QByteArray> names;
        DIR *stream = ::fdopendir(::dup(fd));
        while (const dirent *entry = stream ? ::readdir(stream) : nullptr) {
            struct stat st;
            const QByteArray entryName(entry->d_name);
            if (entryName != "." && entryName != ".."
                && ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISDIR(st.st_mode))
                names.push_back(entryName);
        }
        if (stream)
            ::closedir(stream);
        return names;
    };
    std::vector<QByteArray> pending = subfolders(dirFd);
    for (int moved = 0; !pending.empty();) {
        const QByteArray folder = pending.back();
        pending.pop_back();
        const int fd
            = ::openat(dirFd, folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        for (const QByteArray &sub : subfolders(fd)) {
            const QByteArray flat = ".flat" + QByteArray::number(moved++);
            if (::renameat(fd, sub.constData(), dirFd, flat.constData()) == 0)
                pending.push_back(flat);
        }
        ::close(fd);
    }
    ::close(dirFd);
}

// Latin-1 bytes of "café.txt": not valid UTF-8.
inline const QByteArray Latin1Cafe = QByteArray("caf\xe9.txt");
