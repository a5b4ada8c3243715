// SPDX-License-Identifier: MIT
#pragma once

#include "core/filerows.h"
#include "core/folderlisting.h"

#include <QMutex>
#include <QWaitCondition>

#include <memory>

// A folder reader that holds the folders whose path ends in "slow" before
// reading them, as a slow disk would, until let go or asked to stop; every
// other folder is read at once. A stuck reader does not hear the stop either,
// as a read of a hung network mount does not. With readFirst, the rows are
// read before the hold, as a folder whose last read is slow: they are handed
// over, and dropped if the stop comes. Lets go when destroyed, so no worker
// stays held after the test that made it.
class HeldReader
{
public:
    explicit HeldReader(bool stuck = false, bool readFirst = false)
    {
        m_state->stuck = stuck;
        m_state->readFirst = readFirst;
    }
    ~HeldReader() { letGo(); }

    FolderReader reader() const
    {
        return [state = m_state](const QString &folder, FileRows &rows, QString *error,
                   const BeforeRead &beforeRead) {
            if (!folder.endsWith(QLatin1StringView("slow")))
                return listFolder(folder, rows, error, beforeRead);
            const qsizetype before = rows.size();
            if (state->readFirst && !listFolder(folder, rows, error, beforeRead))
                return false;
            bool goOn = true;
            {
                QMutexLocker lock(&state->mutex);
                ++state->held;
                while (!state->letGo && (state->stuck || (goOn = beforeRead(rows.size()))))
                    state->changed.wait(&state->mutex, 20);
            }
            if (!state->readFirst)
                return listFolder(folder, rows, error, beforeRead);
            if (!goOn) {
                rows.truncate(before);
                *error = listingCancelled();
            }
            return goOn;
        };
    }

    int held() const
    {
        QMutexLocker lock(&m_state->mutex);
        return m_state->held;
    }
    void letGo()
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->letGo = true;
        m_state->changed.wakeAll();
    }

private:
    struct State
    {
        QMutex mutex;
        QWaitCondition changed;
        int held = 0;
        bool letGo = false;
        bool stuck = false;
        bool readFirst = false;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
