// SPDX-License-Identifier: MIT
#include "list/savejob.h"

#include "core/arrangement.h"
#include "core/textexport.h"
#include "core/workerpool.h"

#include <QFutureWatcher>
#include <QMutex>
#include <QtConcurrent/QtConcurrentRun>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A pipe whose ends a process started meanwhile (the file dialog's) does not
// inherit; false where there is none to be had.
bool closeOnExecPipe([[maybe_unused]] int ends[2])
{
#if defined(Q_OS_LINUX)
    return ::pipe2(ends, O_CLOEXEC) == 0;
#elif defined(Q_OS_UNIX)
    // Without pipe2() a process started between the two calls may inherit
    // the ends; it then holds the save's end open until it exits.
    if (::pipe(ends) != 0)
        return false;
    ::fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(ends[1], F_SETFD, FD_CLOEXEC);
    return true;
#else
    return false;
#endif
}

} // namespace

// What the worker came to, shared by the job and its worker: the worker
// closes the pipe's write end once it has stored the outcome.
struct SaveJob::Ending
{
    Ending()
    {
        if (!closeOnExecPipe(ends))
            ends[0] = ends[1] = -1;
    }
    ~Ending()
    {
        for (const int end : ends)
            closeEnd(end);
    }
    static void closeEnd([[maybe_unused]] int end)
    {
#ifdef Q_OS_UNIX
        if (end >= 0)
            ::close(end);
#endif
    }
    Ending(const Ending &) = delete;
    Ending &operator=(const Ending &) = delete;

    void end(SaveResult saveResult, const QString &saveReason)
    {
        const QMutexLocker lock(&mutex);
        result = saveResult;
        reason = saveReason;
        ended = true;
        closeEnd(ends[1]);
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
    connect(saving, &QFutureWatcherBase::finished, this, &SaveJob::workerEnded);
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

std::optional<SaveJob::End> SaveJob::takeEnd()
{
    if (m_told)
        return std::nullopt;
    const QMutexLocker lock(&m_ending->mutex);
    if (!m_ending->ended)
        return std::nullopt;
    m_told = true;
    m_saving->disconnect(this);
    return End { m_ending->result, m_ending->reason };
}
