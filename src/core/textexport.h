// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct FileArrangement;

// What follows every name: CR LF as the window saves, LF for Unix tools, NUL
// for names that may hold line feeds (xargs -0).
enum class LineEnd { CrLf, Lf, Nul };

// The bytes of a line end.
QByteArrayView lineEndBytes(LineEnd lineEnd);

// A name or path as the saved text holds it: on Linux the file system's bytes
// as they are; on Windows, where names are read as UTF-8, in the ANSI code page.
#ifdef Q_OS_WIN
QByteArray savedName(QByteArrayView name);
#else
inline QByteArrayView savedName(QByteArrayView name)
{
    return name;
}
#endif

// The text file that "Save List to TXT File" writes: each row's file name in
// display order, each followed by CR LF, with no header and no byte-order mark.
// On Linux names are written as the file system gave them, byte for byte; on
// Windows they are converted to the ANSI code page. Built in one allocation of
// the exact size: O(total name bytes). Of an arrangement, which a worker may
// hold while the model changes.
QByteArray exportText(const FileArrangement &files, LineEnd lineEnd = LineEnd::CrLf);

// What "Copy All Names" and "Copy All Paths" put on the clipboard: every row
// in display order, one a line (LF, which the clipboard converts where the
// platform wants CR LF). Names are shown by the display rules, as "Copy Name"
// copies one; paths join the row's folder and its decoded name as the
// platform writes paths. Runs on any thread; O(total name bytes).
enum class ListText { Names, Paths };
QString listText(const FileArrangement &files, ListText what);
