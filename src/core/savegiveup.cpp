// SPDX-License-Identifier: MIT
#include "core/savegiveup.h"

#include "core/systemreason.h"

#include <QFile>

#include <cerrno>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

// 0, or the errno of a failed removal; a file already gone is no failure.
int removeFile(RemoveFile remove, const QByteArray &path)
{
    if (remove)
        return remove(path.constData()) == 0 || errno == ENOENT ? 0 : errno;
#ifndef Q_OS_WIN
    return ::unlink(path.constData()) == 0 || errno == ENOENT ? 0 : errno;
#else
    QFile file(QFile::decodeName(path));
    return !file.exists() || file.remove() ? 0 : EACCES;
#endif
}

} // namespace

SaveGiveUp::SaveGiveUp(const SaveHooks &hooks)
    : m_remove(hooks.remove)
{ }

SaveGiveUp::Outcome SaveGiveUp::giveUp(QString *leftBehind)
{
    QByteArray temporary;
    {
        const QMutexLocker lock(&m_mutex);
        if (m_replacing)
            return TooLate;
        m_givenUp = true;
        temporary = m_temporary;
    }
    // Outside the lock: the save only ever asks it, and a slow disk must not
    // hold this thread longer than the removal itself.
    if (temporary.isEmpty())
        return GivenUp;
    if (const int error = removeFile(m_remove, temporary)) {
        if (leftBehind)
            *leftBehind = QFile::decodeName(temporary) + QStringLiteral(": ") + systemReason(error);
        return LeftBehind;
    }
    return GivenUp;
}

bool SaveGiveUp::temporaryMade(const QByteArray &path)
{
    const QMutexLocker lock(&m_mutex);
    m_temporary = path;
    if (m_givenUp)
        removeFile(m_remove, path);
    return !m_givenUp;
}

bool SaveGiveUp::mayReplace()
{
    const QMutexLocker lock(&m_mutex);
    m_replacing = !m_givenUp;
    return m_replacing;
}
