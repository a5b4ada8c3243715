// SPDX-License-Identifier: MIT
#include "window/savesatexit.h"

#include "core/displaytext.h"
#include "list/savequeue.h"
#include "window/messages.h"

namespace {

void say(std::FILE *report, QString text)
{
    std::fprintf(report, "quillmere: %s\n", qPrintable(text.replace(u'\n', u' ')));
}

} // namespace

int endSaves(SaveQueue &saves, int status, int milliseconds, std::FILE *report, int interrupt)
{
    // What the window would have said of a save's end is said here instead.
    saves.waitForSaves(milliseconds, interrupt, [&status, report](const SaveQueue::Ended &save) {
        if (save.result == SaveResult::Saved)
            return;
        say(report, displayPath(save.target) + QStringLiteral(": ") + save.reason);
        status = 1;
    });
    for (const SaveQueue::GivenUp &unsaved : saves.giveUpSaves()) {
        say(report, Messages::givenUp(unsaved));
        status = 1;
    }
    return status;
}
