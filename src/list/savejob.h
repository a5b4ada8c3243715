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

signals:
    // The save ended; unless Saved, reason says why, or what it could not keep.
    void ended(SaveResult result, const QString &reason);

private:
    QString m_target;
    std::shared_ptr<SaveGiveUp> m_giveUp;
    QFutureWatcherBase *m_saving;
};
