// SPDX-License-Identifier: MIT
#pragma once

// Add and Save through the desktop's file dialog, shown by the real
// xdg-desktop-portal and its GTK backend in another process: how soon that
// dialog shows, and how long the window goes without a turn while the
// dialog lists a big folder, and while Save writes the list.
//
// bench/portal.sh owns every process (X server, bus, portal, backend, this
// program) and drives the GTK dialog with xdotool; the window measures. The
// two talk through files in the script's run folder: the window appends its
// steps to RUN/state, the script its own to RUN/events, each "word [ns]",
// ns a CLOCK_REALTIME time in nanoseconds.

#include <QString>

#include <string>

namespace bench {

class Table;

// In this process, under the script: Add, answered by the portal (a file
// picked, or the backend ended); the folder listed, by drop if not picked;
// then Save into RUN/saved.txt. Prints "add-shown add-stall observed outcome
// rows save-shown save-stall saved saved-after-answer add-core-wait
// save-core-wait bystander-stall bystander-core-wait" (seconds; observed
// from the dialog shown until answered; outcome 0 picked, 1 cancelled, 2
// Qt's dialog shown instead; core-wait: of the longest stall, the time the
// thread waited for a core; bystander: a process beside the window, during Add).
int measurePortal(const QString &folder, const QString &run);

// In this process, beside the window: its longest stall and the core wait
// in it, printed once its standard input closes.
int measureBystander();

// The script's run on folder, in fresh processes, and its rows in table; a
// line saying why when the script skips.
void portalRows(const std::string &script, const std::string &self, const std::string &workDir,
    const std::string &folder, long files, Table &table);

} // namespace bench
