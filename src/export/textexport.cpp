#include "export/textexport.h"

#include "lists/filelistmodel.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

QByteArray exportText(const FileListModel &files)
{
    return exportText(files.arrangement());
}

QByteArray exportText(const FileArrangement &files)
{
    const size_t rows = files.order.size();
    auto name = [&files](size_t row) { return files.rows->name(files.order[row]); };
#ifdef Q_OS_WIN
    QByteArray text;
    for (size_t row = 0; row < rows; ++row)
        text += QString::fromUtf8(name(row)).toLocal8Bit() + "\r\n";
    return text;
#else
    qsizetype size = 0;
    for (size_t row = 0; row < rows; ++row)
        size += name(row).size() + 2;
    QByteArray text(size, Qt::Uninitialized);
    char *out = text.data();
    for (size_t row = 0; row < rows; ++row) {
        const QByteArrayView name = files.rows->name(files.order[row]);
        std::memcpy(out, name.data(), size_t(name.size()));
        out += name.size();
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
