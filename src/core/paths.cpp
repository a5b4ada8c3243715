// SPDX-License-Identifier: MIT
#include "core/paths.h"

namespace {

// A path from a listed folder ("2026.05/IMG_1") has the extension of its
// file's own name: a dot in a folder's name never counts.
template<typename View> View afterLastDot(View name)
{
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 || dot < name.lastIndexOf('/') ? View() : name.sliced(dot + 1);
}

template<typename Text> Text withoutTrailingSeparators(const Text &path)
{
    qsizetype end = path.size();
#ifdef Q_OS_WIN
    while (end > 1 && (path.at(end - 1) == '/' || path.at(end - 1) == '\\'))
        --end;
#else
    while (end > 1 && path.at(end - 1) == '/')
        --end;
#endif
    return path.left(end);
}

} // namespace

QString cleanFolderPath(const QString &path)
{
    return withoutTrailingSeparators(path);
}

QByteArray cleanFolderPathBytes(const QByteArray &path)
{
    return withoutTrailingSeparators(path);
}

QString GetFolderOfFile(const QString &FilePath)
{
#ifdef Q_OS_WIN
    const qsizetype separator = std::max(FilePath.lastIndexOf(u'\\'), FilePath.lastIndexOf(u'/'));
#else
    const qsizetype separator = FilePath.lastIndexOf(u'/');
#endif
    if (separator < 0)
        return QString();
    if (separator == 0)
        return FilePath.left(1); // the root keeps its separator, or it would name nothing
    return cleanFolderPath(FilePath.left(separator));
}

QString GetFileExtension(QStringView FileName)
{
    return afterLastDot(FileName).toString();
}

QByteArrayView GetFileExtension(QByteArrayView FileName)
{
    return afterLastDot(FileName);
}
