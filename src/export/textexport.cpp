#include "export/textexport.h"

#include "lists/filelistmodel.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

QByteArray exportText(const FileListModel &files)
{
    const int rows = files.rowCount();
#ifdef Q_OS_WIN
    QByteArray text;
    for (int row = 0; row < rows; ++row)
        text += QString::fromUtf8(files.name(row)).toLocal8Bit() + "\r\n";
    return text;
#else
    qsizetype size = 0;
    for (int row = 0; row < rows; ++row)
        size += files.name(row).size() + 2;
    QByteArray text(size, Qt::Uninitialized);
    char *out = text.data();
    for (int row = 0; row < rows; ++row) {
        const QByteArrayView name = files.name(row);
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
        return fail(QStringLiteral("It is a folder."));
    if (target.exists() && !target.isFile())
        return fail(QStringLiteral("It is not a regular file."));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(text) != text.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
