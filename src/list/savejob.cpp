// SPDX-License-Identifier: MIT
#include "list/savejob.h"

#include "core/arrangement.h"
#include "core/textexport.h"
#include "core/workerpool.h"

#include <QFutureWatcher>
#include <QMutex>
#include <QtConcurrent/QtConcurrentRun>

#include <fcntl.h>
#include <unistd.h>

// What the worker came to, shared by the job and its worker: the worker
// closes the pipe's write end once it has stored the outcome.
struct SaveJob::Ending
{
    Ending()
    {
        // Close-on-exec from the start: a process started meanwhile (the file
        // dialog's) would otherwise hold the write end open.
        if (::pipe2(ends, O_CLOEXEC) != 0)
            ends[0] = ends[1] = -1;
    }
    ~Ending()
    {
        for (const int end : ends) {
            if (end >= 0)
                ::close(end);
        }
    }
    Ending(const Ending &) = delete;
    Ending &operator=(const Ending &) = delete;

    void end(SaveResult saveResult, const QString &saveReason)
    {
        const QMutexLocker lock(&mutex);
        result = saveResult;
        reason = saveReason;
        ended = true;
        if (ends[1] >= 0)
            ::close(ends[1]);
        ends[1] = -1;
    }

    QMutex mutex;
    bool ended = false;
    SaveResult result = SaveResult::Failed;
    QString reason;
    int ends[2];
};

SaveJob::SaveJob(
    const FileArrangement &files, const QString &target, const SaveHooks &hooks, QObject *parent)
    : QObject(parent)
    , m_target(target)
    , m_giveUp(std::make_shared<SaveGiveUp>(hooks))
    , m_ending(std::make_shared<Ending>())
{
    auto *saving = new QFutureWatcher<void>(this);
    m_saving = saving;
    connect(saving, &QFutureWatcherBase::finished, this, &SaveJob::tellEnd);
    // From a copy of the order, so that the list may change meanwhile; the
    // worker holds all it needs and ends on its own if this job goes first.
    saving->setFuture(QtConcurrent::run(
        workerPool(), [files, target, hooks, giveUp = m_giveUp, ending = m_ending] {
            QString reason;
            const SaveResult result
                = saveText(target, exportText(files), &reason, hooks, giveUp.get());
            ending->end(result, reason);
        }));
}

SaveGiveUp::Outcome SaveJob::giveUp(QString *leftBehind)
{
    m_saving->disconnect(this);
    m_told = true;
    return m_giveUp->giveUp(leftBehind);
}

int SaveJob::endDescriptor() const
{
    return m_ending->ends[0];
}

bool SaveJob::tellEnd()
{
    if (m_told)
        return true;
    SaveResult result;
    QString reason;
    {
        const QMutexLocker lock(&m_ending->mutex);
        if (!m_ending->ended)
            return false;
        result = m_ending->result;
        reason = m_ending->reason;
    }
    m_told = true;
    m_saving->disconnect(this);
    emit ended(result, reason);
    return true;
}
