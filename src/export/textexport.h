#pragma once

#include <QByteArray>
#include <QString>

class FileListModel;
struct FileArrangement;

// The text file that "Save List to TXT File" writes: each row's file name in
// display order, each followed by CR LF, with no header and no byte-order mark.
// On Linux names are written as the file system gave them, byte for byte; on
// Windows they are converted to the ANSI code page. Built in one allocation of
// the exact size: O(total name bytes).
QByteArray exportText(const FileListModel &files);
// The same for an arrangement, which a worker may hold while the model changes.
QByteArray exportText(const FileArrangement &files);

// Replaces the file at path with text, atomically: a temporary file beside it
// is written and renamed over it, so a failure never leaves a partial file
// and leaves an existing one untouched. On failure returns false with the
// system's reason in *error.
bool saveText(const QString &path, const QByteArray &text, QString *error);
