// SPDX-License-Identifier: MIT
#include "window/savesatexit.h"

#include "core/displaytext.h"
#include "list/filelist.h"
#include "window/messages.h"

namespace {

void say(std::FILE *report, QString text)
{
    std::fprintf(report, "quillmere: %s\n", qPrintable(text.replace(u'\n', u' ')));
}

} // namespace

int endSaves(FileList &files, int status, int milliseconds, std::FILE *report, int interrupt)
{
    // What the window said of a save's end is said here instead; the window
    // hears nothing more of the saves.
    QObject::disconnect(&files, &FileList::saveEnded, nullptr, nullptr);
    QObject::disconnect(&files, &FileList::savesEnded, nullptr, nullptr);
    const QMetaObject::Connection told = QObject::connect(&files, &FileList::saveEnded, &files,
        [&status, report](const QString &target, SaveResult result, const QString &reason) {
            if (result == SaveResult::Saved)
                return;
            say(report, displayPath(target) + QStringLiteral(": ") + reason);
            status = 1;
        });
    files.waitForSaves(milliseconds, interrupt);
    QObject::disconnect(told);
    for (const FileList::GivenUp &unsaved : files.giveUpSaves()) {
        say(report, Messages::givenUp(unsaved));
        status = 1;
    }
    return status;
}
