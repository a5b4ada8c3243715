// SPDX-License-Identifier: MIT
#pragma once

#include "core/atomicsave.h"
#include "core/savegiveup.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

struct FileArrangement;
class QFutureWatcherBase;

// One save of the list, written and synced on a worker while the window
// goes on: it starts when made, may be given up, and tells how it ended once.
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
    // How the save ended, once the worker has ended it: unless Saved, reason
    // says why, or what it could not keep. Told once, and never once given up.
    struct End
    {
        SaveResult result;
        QString reason;
    };
    std::optional<End> takeEnd();

signals:
    // The worker has ended the save, as the event loop hears it: takeEnd()
    // tells how. Where no event loop runs, endDescriptor() says so.
    void workerEnded();

private:
    struct Ending;

    QString m_target;
    std::shared_ptr<SaveGiveUp> m_giveUp;
    std::shared_ptr<Ending> m_ending;
    QFutureWatcherBase *m_saving;
    bool m_told = false;
};
