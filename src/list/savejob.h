// SPDX-License-Identifier: MIT
#pragma once

#include "core/atomicsave.h"
#include "core/savegiveup.h"

#include <QObject>
#include <QString>

#include <memory>

struct FileArrangement;
class QFutureWatcherBase;

// One save of the list, written and synced on a worker while the window
// goes on: it starts when made, may be given up, and says how it ended.
class SaveJob : public QObject
{
    Q_OBJECT

public:
    // Writes the names of files, in their order, to target.
    SaveJob(const FileArrangement &files, const QString &target, const SaveHooks &hooks,
        QObject *parent = nullptr);

    const QString &target() const { return m_target; }

    // Gives the save up, as far as it still can be (see SaveGiveUp); its
    // end, if it comes, says nothing then.
    SaveGiveUp::Outcome giveUp(QString *leftBehind = nullptr);

    // Readable (at its end of file) once the worker has ended the save, for
    // a wait where no event loop runs (poll()); -1 when no pipe could be made.
    int endDescriptor() const;
    // Says how the save ended, with ended(), if the worker has ended it and
    // it was neither given up nor told before; whether it has been told.
    // The event loop calls it when the worker ends; without one, the end is
    // told only when this is called.
    bool tellEnd();

signals:
    // The save ended; unless Saved, reason says why, or what it could not keep.
    void ended(SaveResult result, const QString &reason);

private:
    struct Ending;

    QString m_target;
    std::shared_ptr<SaveGiveUp> m_giveUp;
    std::shared_ptr<Ending> m_ending;
    QFutureWatcherBase *m_saving;
    bool m_told = false;
};
