// SPDX-License-Identifier: MIT
#pragma once

#include "core/savehooks.h"

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <memory>

class SaveFolder;

// Lets the window give up a save that a slow disk holds, from its own thread,
// while the save's worker is stuck in a write or a sync. Until the new list
// starts to replace the target, giving up removes the temporary file and the
// save will not replace anything; from then on the list is in place, or about
// to be, and cannot be given up.
class SaveGiveUp
{
public:
    enum Outcome {
        GivenUp, // the target keeps its old contents; nothing is left beside it
        LeftBehind, // as GivenUp, but the temporary file could not be removed
        TooLate, // the new list replaces the target
    };

    // The temporary file is removed with hooks.remove, as the save given the
    // same hooks removes it.
    explicit SaveGiveUp(const SaveHooks &hooks = {});
    ~SaveGiveUp();

    // From any thread. For LeftBehind, *leftBehind names the temporary file,
    // where it really is and as a message shows it (SaveFolder::shownFile()),
    // and the system's reason.
    Outcome giveUp(QString *leftBehind = nullptr);

    // The save's side: the temporary file it writes, named in folder, as soon
    // as it exists; false when the save was given up meanwhile (the file is
    // then removed).
    bool temporaryMade(std::shared_ptr<const SaveFolder> folder, const QByteArray &name);
    // Asked just before the rename: false when given up; otherwise it is too
    // late from now on.
    bool mayReplace();

private:
    const RemoveFile m_remove;
    QMutex m_mutex;
    std::shared_ptr<const SaveFolder> m_folder;
    QByteArray m_temporary;
    bool m_givenUp = false;
    bool m_replacing = false;
};
