// SPDX-License-Identifier: MIT
#pragma once

#include "core/atomicsave.h"
#include "core/savegiveup.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

struct FileArrangement;
class SaveJob;

// The saves of the list that run at once, each on a worker (SaveJob): starts
// them, waits for them, gives them up, and tells how each one ended, once, to
// whoever waits for it: from the event loop by saveEnded(), or, where no
// event loop runs (the program's end), to the one in waitForSaves().
class SaveQueue : public QObject
{
    Q_OBJECT

public:
    explicit SaveQueue(QObject *parent = nullptr);
    ~SaveQueue() override;

    // How saves write, sync, rename and remove; tests hold or fail them.
    void setHooks(const SaveHooks &hooks) { m_hooks = hooks; }

    // Writes the names of files, in their order, to target on a worker;
    // saveEnded() tells how it went.
    void save(const FileArrangement &files, const QString &target);
    bool isSaving() const { return !m_saves.isEmpty(); }
    QStringList targets() const;

    struct Ended
    {
        QString target;
        SaveResult result;
        QString reason; // unless Saved, why, or what it could not keep
    };
    // Waits, without running an event loop, until no save runs, milliseconds
    // have passed, or interrupt (a descriptor; -1 for none) is readable;
    // whether none runs. Each save that ends meanwhile is handed to told, and
    // saveEnded() says nothing of it. For the program's end, where no event
    // loop may run.
    bool waitForSaves(
        int milliseconds, int interrupt, const std::function<void(const Ended &)> &told);

    // Gives up every save still running, as the program ends without them.
    struct GivenUp
    {
        QString target;
        SaveGiveUp::Outcome outcome;
        QString leftBehind; // with LeftBehind: the temporary file and why it stays
    };
    QList<GivenUp> giveUpSaves();

signals:
    // A save ended; unless Saved, reason says why or what it could not keep.
    void saveEnded(const QString &target, SaveResult result, const QString &reason);
    // The last save running ended, as saveEnded() told.
    void savesEnded();

private:
    // Takes the end of each save whose worker has ended, for told.
    void takeEnds(const std::function<void(const Ended &)> &told);
    void tell(SaveJob *job);

    QList<SaveJob *> m_saves;
    SaveHooks m_hooks;
};
