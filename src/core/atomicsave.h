// SPDX-License-Identifier: MIT
#pragma once

#include "core/savehooks.h"

#include <QByteArray>
#include <QString>

class SaveGiveUp;

// What a save came to, and so what is on the disk.
enum class SaveResult {
    Saved, // the new list has replaced the target and is on the disk
    // The new list has replaced the target, but the system could not confirm
    // that the folder's new entry is on the disk: a power cut may lose it.
    // Something of the old file may not have been kept either.
    Unconfirmed,
    // The new list has replaced the target and is on the disk, but the old
    // file's owner, group, mode, ACL or an extended attribute could not all
    // be given to it.
    NotAllKept,
    // Nothing changed: the target keeps its old contents, or still does not
    // exist, and nothing is left beside it but a temporary file that the
    // message names.
    Failed,
};

// Replaces the file at path with text, atomically: a temporary file beside it
// is written, given the old file's owner, group, mode, ACL and user and
// security extended attributes (as far as the file system and this user's
// rights allow), its data synced, and renamed over it; then the folder is
// synced, so the new entry survives a power cut. Until the old file's mode is
// set, the temporary file replacing it is readable by this user alone. Other
// hard links to the old file keep the old contents; a symbolic link is
// followed to the file it names, unless it leads through a loop of links
// (Failed, ELOOP's reason, the link untouched). The file is made, renamed and
// removed in the target's folder as it was opened once (see SaveFolder): a
// folder put in its place during the save (a link to another) is never
// written into, and a save whose folder is no longer at its path when the
// list is to replace the target fails, saying where the folder went, the
// temporary file removed from it. Unless Saved, *error says
// why: for Failed the system's reason (naming the folder when it is the
// folder that cannot be written), else one sentence a line for each thing the
// save could not confirm or keep; any path or name in it is shown by the
// display rules (displayPath(), displayText()). giveUp, when given (made with
// the same hooks), lets another thread give the save up until the rename.
SaveResult saveText(const QString &path, const QByteArray &text, QString *error,
    const SaveHooks &hooks = {}, SaveGiveUp *giveUp = nullptr);

// What the window and quillmere-list say of a save whose folder sync failed.
QString unconfirmedSaveMessage(const QString &reason);
