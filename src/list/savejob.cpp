// SPDX-License-Identifier: MIT
#include "list/savejob.h"

#include "core/arrangement.h"
#include "core/textexport.h"
#include "core/workerpool.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace {

struct Outcome
{
    SaveResult result;
    QString reason;
};

} // namespace

SaveJob::SaveJob(
    const FileArrangement &files, const QString &target, const SaveHooks &hooks, QObject *parent)
    : QObject(parent)
    , m_target(target)
    , m_giveUp(std::make_shared<SaveGiveUp>(hooks))
{
    auto *saving = new QFutureWatcher<Outcome>(this);
    m_saving = saving;
    connect(saving, &QFutureWatcherBase::finished, this, [this, saving] {
        const Outcome outcome = saving->result();
        emit ended(outcome.result, outcome.reason);
    });
    // From a copy of the order, so that the list may change meanwhile; the
    // worker holds all it needs and ends on its own if this job goes first.
    saving->setFuture(QtConcurrent::run(workerPool(), [files, target, hooks, giveUp = m_giveUp] {
        Outcome outcome;
        outcome.result = saveText(target, exportText(files), &outcome.reason, hooks, giveUp.get());
        return outcome;
    }));
}

SaveGiveUp::Outcome SaveJob::giveUp(QString *leftBehind)
{
    m_saving->disconnect(this);
    return m_giveUp->giveUp(leftBehind);
}
