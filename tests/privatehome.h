// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QTemporaryDir>

// Qt's file dialog keeps its recent folders in the user's configuration, and
// locks it while it writes; a test keeps both in a folder of its own, made
// before main() builds the application, so that it never touches the user's
// files nor waits on another test's lock.
inline const QTemporaryDir PrivateXdgHome = [] {
    QTemporaryDir home;
    for (const char *name : { "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME" })
        qputenv(name, QFile::encodeName(home.filePath(QString::fromLatin1(name))));
    // Where the first file dialog of a run opens.
    qputenv("HOME", QFile::encodeName(home.path()));
    return home;
}();
