// SPDX-License-Identifier: MIT
#include "core/savegiveup.h"

#include "core/savefolder.h"
#include "core/systemreason.h"

#include <QString>

#include <cerrno>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

// 0, or the errno of a failed removal; a file already gone is no failure.
int removeFile(RemoveFile remove, const SaveFolder &folder, const QByteArray &name)
{
#ifndef Q_OS_WIN
    if (!remove)
        remove = ::unlinkat;
#endif
    return remove(folder.fd(), name.constData(), 0) == 0 || errno == ENOENT ? 0 : errno;
}

} // namespace

SaveGiveUp::SaveGiveUp(const SaveHooks &hooks)
    : m_remove(hooks.remove)
{ }

// The folder may close here, once the save has let it go.
SaveGiveUp::~SaveGiveUp() = default;

SaveGiveUp::Outcome SaveGiveUp::giveUp(QString *leftBehind)
{
    std::shared_ptr<const SaveFolder> folder;
    QByteArray temporary;
    {
        const QMutexLocker lock(&m_mutex);
        if (m_replacing)
            return TooLate;
        m_givenUp = true;
        folder = m_folder;
        temporary = m_temporary;
    }
    // Outside the lock: the save only ever asks it, and a slow disk must not
    // hold this thread longer than the removal itself.
    if (!folder)
        return GivenUp;
    if (const int error = removeFile(m_remove, *folder, temporary)) {
        if (leftBehind)
            *leftBehind
                = folder->shownFile(temporary) + QStringLiteral(": ") + systemReason(error);
        return LeftBehind;
    }
    return GivenUp;
}

bool SaveGiveUp::temporaryMade(std::shared_ptr<const SaveFolder> folder, const QByteArray &name)
{
    const QMutexLocker lock(&m_mutex);
    m_folder = std::move(folder);
    m_temporary = name;
    if (m_givenUp)
        removeFile(m_remove, *m_folder, m_temporary);
    return !m_givenUp;
}

bool SaveGiveUp::mayReplace()
{
    const QMutexLocker lock(&m_mutex);
    m_replacing = !m_givenUp;
    return m_replacing;
}
