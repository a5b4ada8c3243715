// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The two path functions of the window. Both are pure and never fail.

// The folder part of a full file path: everything before the last separator.
// "/home/ann/a.txt" gives "/home/ann"; a file in the root gives "/"; a path
// without any separator gives "". On Windows "\" and "/" both separate, and a
// file in a drive's root gives the bare drive ("C:").
QString GetFolderOfFile(const QString &FilePath);

// Everything after the last dot of a file name; "" when there is no dot.
// "report.final.doc" gives "doc", "archive." gives "", ".profile" gives "profile".
QString GetFileExtension(QStringView FileName);

// The same rule on the raw bytes of a name. A dot byte never occurs inside a
// UTF-8 sequence, so both agree on every name that decodes.
QByteArrayView fileExtensionBytes(QByteArrayView name);
