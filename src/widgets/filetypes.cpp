// SPDX-License-Identifier: MIT
#include "widgets/filetypes.h"

#include <QFileInfo>
#include <QMimeType>

FileTypes *FileTypes::instance()
{
    static FileTypes *const types = new FileTypes;
    return types;
}

QIcon FileTypes::icon(const QFileInfo &info) const
{
    return info.isFile() ? kind(info).icon : QFileIconProvider::icon(info);
}

QString FileTypes::type(const QFileInfo &info) const
{
    return info.isFile() ? kind(info).type : QFileIconProvider::type(info);
}

const FileTypes::Kind &FileTypes::kind(const QFileInfo &info) const
{
    const QString suffix = info.suffix();
    auto known = m_kinds.constFind(suffix);
    if (known == m_kinds.cend()) {
        const QMimeType mime = suffix.isEmpty()
            ? m_mimes.mimeTypeForName(QStringLiteral("application/octet-stream"))
            : m_mimes.mimeTypeForFile(QStringLiteral("a.") + suffix, QMimeDatabase::MatchExtension);
        const QIcon fallback = QFileIconProvider::icon(File);
        known = m_kinds.insert(suffix,
            { QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), fallback)),
                mime.comment() });
    }
    return *known;
}
