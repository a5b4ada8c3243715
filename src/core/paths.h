// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The path functions of the window and of quillmere-list. All are pure and
// never fail.

// The folder part of a full file path: everything before the last separator.
// "/home/ann/a.txt" gives "/home/ann"; a file in the root gives "/"; a path
// without any separator gives "". On Windows "\" and "/" both separate, and a
// file in a drive's root gives the bare drive ("C:").
QString GetFolderOfFile(const QString &FilePath);

// A folder's path as the folder list and quillmere-list keep it: without
// trailing separators, so that "d" and "d/" are one folder. The root stays
// "/"; on Windows a drive's root becomes the bare drive ("C:"), as above.
// Every way a folder comes in (the dialog, a drop, an argument) passes here.
QString cleanFolderPath(const QString &path);
QByteArray cleanFolderPathBytes(const QByteArray &path);

// Everything after the last dot of a file name; "" when there is no dot.
// "report.final.doc" gives "doc", "archive." gives "", ".profile" gives "profile".
// Of a path from a listed folder, the file's own name's: "2026.05/IMG_1" gives "".
QString GetFileExtension(QStringView FileName);

// The same rule on the raw bytes of a name, as each row's extension is found
// (FileRows::extension()). A dot byte never occurs inside a UTF-8 sequence, so
// both agree on every name that decodes.
QByteArrayView GetFileExtension(QByteArrayView FileName);
