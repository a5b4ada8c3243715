// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

class SaveQueue;

// The program's end while saves still run. Close waits for the saves it
// started, so only the end of the session gets here with one running: each
// is given until milliseconds have passed, or interrupt (a descriptor; -1
// for none) is readable, to end, then given up, which leaves the file it
// would have replaced as it was where it still can. Runs no event loop, so
// that it may run where none can (see SessionEnd). Neither can be told in
// the window any more: each save that does not end well is named on report,
// a line each. Returns the program's exit status: status, or 1 when a save
// did not end well.
int endSaves(SaveQueue &saves, int status, int milliseconds, std::FILE *report, int interrupt = -1);
