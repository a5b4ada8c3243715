// SPDX-License-Identifier: MIT
#pragma once

// "Add" through Qt's own file dialog into a big folder, against "Add" by
// dropping the same folder: how soon the dialog shows, how long the window
// goes without a turn, and what stays resident once the dialog has closed.
// Each path runs in a fresh process, so that one's heap cannot flatter the
// other; the dialog runs in a process of its own, as on X11 and Wayland.

#include <QString>

#include <string>

namespace bench {

class Table;

// In this process, started in the folder's parent as a user's home would
// be: Add, browse into the folder, wait until the dialog lists all of it,
// pick a file (after two minutes at most); then Add again, keep that dialog
// open a second and cancel. Prints "first-shown loaded (negative: not in
// full) dialog's-resident-loaded resident-closed again-shown stall-again
// stall-listing typed process-ended-after-Open dialog's-own-stall-listing"
// (seconds, bytes).
int measureDialogAdd(const QString &folder);

// In this process: Choose Folder, the dialog going into the folder's parent
// and choosing the folder by its name there. Prints "shown dialog's-own-stall
// process-ended-after-Choose window's-stall" (seconds).
int measureChooseFolder(const QString &folder);

// This program run as the window's dialog process (argv[1] is
// CommonDialog::ProcessOption), answering as measureDialogAdd() asks.
[[noreturn]] void runDialogProcess(int argc, char *argv[]);

// In this process: the folder dropped on the window, listed and painted.
// Prints the resident size in bytes.
int measureDropAdd(const QString &folder);

// Both, in fresh processes started from self, and their rows in table.
void dialogRows(const std::string &self, const std::string &workDir, const std::string &folder,
    long files, Table &table);

} // namespace bench
