// SPDX-License-Identifier: MIT
#pragma once

// The file list's bulk commands on a folder whose names are half of one
// extension, ".tmp": what each costs and how long the window's thread stalls.

#include <string>

namespace bench {

// Prints the table of bulk removals, their undo and Copy All Names; returns an exit status.
int measureBulk(const std::string &folder, const std::string &workDir, int runs);

} // namespace bench
