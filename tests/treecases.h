// SPDX-License-Identifier: MIT
#pragma once

#include "testdir.h"

#include <QDir>
#include <QList>

#include <sys/stat.h>
#include <unistd.h>

// A tree to list with its sub-folders, as quillmere-list -r and the window's
// Include Sub-folders list it: names that sort naturally and by case, hidden
// files and folders, a dotted folder, a link loop, a link to a folder, a
// dangling link and a FIFO; only plain files are listed, none opened. An
// error, or an empty string once made.
inline QString makeTree(const TestDir &dir)
{
    for (const char *folder : { "sub", "sub/deep", "Sub10", ".hid", "v1.5" }) {
        if (!QDir(dir.path()).mkdir(QLatin1StringView(folder)))
            return QStringLiteral("cannot make ") + QLatin1StringView(folder);
    }
    const QString made = dir.createFiles(
        { "a.txt", "b.JPG", "c.jpg", "file10.txt", "File2.txt", ".hidden.jpg", "sub/x.jpg",
            "sub/y.tmp", "sub/deep/z.jpg", "Sub10/w.txt", ".hid/h.jpg", "v1.5/notes" });
    if (!made.isEmpty())
        return made;
    const QByteArray root = dir.encodedPath();
    if (::symlink("..", root + "/sub/deep/loop") != 0
        || ::symlink(root + "/sub", root + "/Sub10/also") != 0
        || ::symlink("nowhere", root + "/sub/dangling.jpg") != 0
        || ::mkfifo(root + "/sub/fifo.jpg", 0600) != 0)
        return QStringLiteral("cannot make the links and the FIFO");
    return QString();
}

// How the tree's files are listed without hidden ones, in the order of
// header clicks (1 "File Name", 2 "Extension"; none: unsorted, here sorted
// by bytes), each file by its path from the tree's folder.
struct TreeCase
{
    const char *name;
    QList<int> clicks;
    QByteArray lines; // each line ended by LF
};

inline QList<TreeCase> treeCases()
{
    const QByteArray own = "a.txt\nb.JPG\nc.jpg\nFile2.txt\nfile10.txt\n";
    return {
        { "unsorted", {},
            "File2.txt\nSub10/w.txt\na.txt\nb.JPG\nc.jpg\nfile10.txt\nsub/deep/z.jpg\n"
            "sub/x.jpg\nsub/y.tmp\nv1.5/notes\n" },
        { "by folder, then name", { 1, 1 },
            own + "sub/x.jpg\nsub/y.tmp\nsub/deep/z.jpg\nSub10/w.txt\nv1.5/notes\n" },
        { "reversed", { 1 },
            "v1.5/notes\nSub10/w.txt\nsub/deep/z.jpg\nsub/y.tmp\nsub/x.jpg\nfile10.txt\n"
            "File2.txt\nc.jpg\nb.JPG\na.txt\n" },
        { "by folder, then extension", { 2, 2 },
            "b.JPG\nc.jpg\na.txt\nFile2.txt\nfile10.txt\nsub/x.jpg\nsub/y.tmp\nsub/deep/z.jpg\n"
            "Sub10/w.txt\nv1.5/notes\n" },
    };
}

// The quillmere-list options that list as the clicks sort.
inline QList<QByteArray> optionsOf(const QList<int> &clicks)
{
    if (clicks.isEmpty())
        return { "-r" };
    QList<QByteArray> options { "-r", "--sort", clicks.last() == 2 ? "extension" : "name" };
    if (clicks.size() % 2 == 1)
        options << "--reverse";
    return options;
}
