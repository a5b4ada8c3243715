// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QStringList>

#include <sys/stat.h>

// The file that a save replaces, opened once in its folder without following
// a link at its name, so that all that is kept of it is read from that one
// file, wherever its folder goes meanwhile: for reading where this user may,
// else (Linux) only to refer to it, as a file this user may write but not read.
class OldFile
{
public:
    OldFile(int folder, const QByteArray &name);
    ~OldFile();
    OldFile(const OldFile &) = delete;
    OldFile &operator=(const OldFile &) = delete;

    // Whether there is a regular file to replace.
    bool exists() const { return m_exists; }
    const struct stat &status() const { return m_status; }
    // Its descriptor, readable or not (see isReadable()); -1 where none.
    int fd() const { return m_fd; }
    bool isReadable() const { return m_readable; }
    int folder() const { return m_folder; }
    const QByteArray &name() const { return m_name; }

private:
    const int m_folder;
    const QByteArray m_name;
    int m_fd = -1;
    bool m_readable = false;
    bool m_exists = false;
    struct stat m_status = {};
};

// Gives the new file, open for writing at fd and named temporary in the old
// one's folder, what the old one had before it takes the old one's place: its
// owner and group, mode, ACL and user and security extended attributes, as
// far as the file system and this user's rights allow. Adds a sentence to
// *notKept for each thing it could not keep.
void keepOldFile(const OldFile &old, const QByteArray &temporary, int fd, QStringList *notKept);
