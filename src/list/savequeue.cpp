// SPDX-License-Identifier: MIT
#include "list/savequeue.h"

#include "core/retryoninterrupt.h"
#include "list/savejob.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <climits>
#include <vector>

#ifdef Q_OS_UNIX
#include <poll.h>
#else
#include <QThread>
#endif

SaveQueue::SaveQueue(QObject *parent)
    : QObject(parent)
{ }

// Each worker holds what it needs and ends on its own.
SaveQueue::~SaveQueue() = default;

void SaveQueue::save(const FileArrangement &files, const QString &target)
{
    auto *job = new SaveJob(files, target, m_hooks, this);
    m_saves << job;
    connect(job, &SaveJob::workerEnded, this, [this, job] { tell(job); });
}

QStringList SaveQueue::targets() const
{
    QStringList targets;
    for (const SaveJob *job : m_saves)
        targets << job->target();
    return targets;
}

void SaveQueue::tell(SaveJob *job)
{
    const std::optional<SaveJob::End> end = job->takeEnd();
    if (!end)
        return;
    m_saves.removeOne(job);
    job->deleteLater();
    emit saveEnded(job->target(), end->result, end->reason);
    if (m_saves.isEmpty())
        emit savesEnded();
}

void SaveQueue::takeEnds(const std::function<void(const Ended &)> &told)
{
    // A save whose worker has ended is told, never given up.
    for (SaveJob *job : QList(m_saves)) {
        if (const std::optional<SaveJob::End> end = job->takeEnd()) {
            m_saves.removeOne(job);
            job->deleteLater();
            told({ job->target(), end->result, end->reason });
        }
    }
}

bool SaveQueue::waitForSaves(int milliseconds, [[maybe_unused]] int interrupt,
    const std::function<void(const Ended &)> &told)
{
    const QDeadlineTimer deadline(milliseconds);
    for (;;) {
        takeEnds(told);
        if (m_saves.isEmpty())
            return true;
        if (deadline.hasExpired())
            return false;
#ifdef Q_OS_UNIX
        std::vector<pollfd> ends;
        for (const SaveJob *job : std::as_const(m_saves))
            ends.push_back({ job->endDescriptor(), POLLIN, 0 });
        ends.push_back({ interrupt, POLLIN, 0 }); // poll() passes over a negative one
        const int ready = retryOnInterrupt([&] {
            const qint64 left = deadline.remainingTime();
            return ::poll(ends.data(), nfds_t(ends.size()),
                left < 0 ? -1 : int(std::min<qint64>(left, INT_MAX)));
        });
        if (ready < 0)
            return false;
        if (ready > 0 && ends.back().revents != 0) {
            takeEnds(told);
            return m_saves.isEmpty();
        }
#else
        // No descriptors to wait on: the saves' workers are asked now and then.
        QThread::msleep(10);
#endif
    }
}

QList<SaveQueue::GivenUp> SaveQueue::giveUpSaves()
{
    QList<GivenUp> givenUp;
    for (SaveJob *job : std::as_const(m_saves)) {
        GivenUp save { job->target(), SaveGiveUp::GivenUp, {} };
        save.outcome = job->giveUp(&save.leftBehind);
        givenUp << save;
        job->deleteLater();
    }
    m_saves.clear();
    return givenUp;
}
