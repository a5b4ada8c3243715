// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <ftw.h>
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

// Latin-1 bytes of "café.txt": not valid UTF-8.
inline const QByteArray Latin1Cafe = QByteArray("caf\xe9.txt");
