// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/dialogkind.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Qt's file dialog (QtFileDialog) in a process of its own, both sides: the
// window's, which starts that process and waits for its answer, and the
// process's, which shows the dialog over the window (transient for it on
// X11, its child through xdg-foreign on Wayland: ForeignToplevel). However
// long the dialog takes over a large folder, the window goes on painting,
// and what the dialog read of the file system goes with its process.
namespace DialogProcess {

// argv[1] of the dialog's process: the program that sees it calls run().
inline constexpr char Option[] = "--qt-file-dialog";

// On Wayland, the dialog's property of this name holds the window's handle
// once the compositor has made the dialog a child of the window.
inline constexpr char ParentProperty[] = "quillmereParentWindow";

// The window's side: runs program with Option and the dialog's arguments,
// blocking input to window but for its close, as DialogWait does, until the
// process ends. The path chosen there, empty for none or when the window's
// close ended the process; nothing when the process could not show the
// dialog (not started, crashed, a status other than 0).
std::optional<QString> choose(const QString &program, QWidget *window, DialogKind kind,
    const QString &folder, const QString &selected, const QStringList &nameFilters);

// The process's side, with the application object made: shows the dialog
// that the arguments after Option describe, over the window they name,
// writes the chosen path's bytes to standard output, nothing when none was
// chosen, and ends the process at once: the dialog's folder model may hold a
// node per file of a million, and its reading thread may be stuck on a hung
// drive. The status is 0 once the answer is written.
[[noreturn]] void run(int argc, char *argv[]);

} // namespace DialogProcess
