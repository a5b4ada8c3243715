// SPDX-License-Identifier: MIT
#pragma once

#include "cli/request.h"

// Does what request asks: lists its folders into rows, arranges them and
// writes their text where it says, naming on standard error each folder that
// could not be listed and each failure of the write. Returns the exit
// status: 0; 1 when a folder could not be listed or the list could not be
// sorted; 2 when the list could not be written; 3 when it was written to a
// file but the system could not confirm it, or not all of the replaced file
// could be kept. A reader of standard output that has gone ends the program
// quietly, as SIGPIPE would.
int runRequest(const Request &request);
