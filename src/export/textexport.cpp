#include "export/textexport.h"

#include "lists/filelistmodel.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

QByteArray exportText(const FileListModel &files, LineEnd lineEnd)
{
    const int rows = files.rowCount();
    const QByteArrayView end = lineEnd == LineEnd::Lf ? "\n" : "\r\n";
#ifdef Q_OS_WIN
    QByteArray text;
    for (int row = 0; row < rows; ++row)
        text += QString::fromUtf8(files.name(row)).toLocal8Bit() + end;
    return text;
#else
    qsizetype size = 0;
    for (int row = 0; row < rows; ++row)
        size += files.name(row).size() + end.size();
    QByteArray text(size, Qt::Uninitialized);
    const bool cr = lineEnd == LineEnd::CrLf;
    char *out = text.data();
    for (int row = 0; row < rows; ++row) {
        const QByteArrayView name = files.name(row);
        std::memcpy(out, name.data(), size_t(name.size()));
        out += name.size();
        if (cr)
            *out++ = '\r';
        *out++ = '\n';
    }
    return text;
#endif
}

bool saveText(const QString &path, const QByteArray &text, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    // Renaming over a folder or a device would not do what the user asked.
    const QFileInfo target(path);
    if (target.isDir())
        return fail(qt_error_string(EISDIR));
    if (target.exists() && !target.isFile())
        return fail(QStringLiteral("It is not a regular file."));

    QSaveFile file(path);
    // Unbuffered, and written until done: a short write carries no error, only
    // the write after it tells the system's reason ("No space left on device").
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    for (qsizetype written = 0; written < text.size();) {
        const qint64 n = file.write(text.constData() + written, text.size() - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(reason);
        }
        written += n;
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
