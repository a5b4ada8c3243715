// SPDX-License-Identifier: MIT
#pragma once

class QFileSystemModel;

// Frees the folder models of closed file dialogs on the worker pool, so
// that neither the window nor the program's end waits for them: a model holds a node per file it
// has seen (a million files are over a gigabyte), and its deletion waits for the thread that reads
// its folder, which may be stuck on a hung drive. On glibc the freed pages go back to the system
// after each model.
namespace ModelDisposal {

// Takes model, which has no parent, lives on the calling thread and watches
// no folder (QFileSystemModel::DontWatchForChanges), and returns at once.
// From then on nothing the model is sent is handled. It is queued for
// deletion by a timer of the calling thread's event loop, once a sort it may
// have due there has run.
void dispose(QFileSystemModel *model);

// How many models handed over are not freed yet.
int pending();

} // namespace ModelDisposal
