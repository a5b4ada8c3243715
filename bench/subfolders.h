// SPDX-License-Identifier: MIT
#pragma once

// The window listing one folder with Include Sub-folders on a tree of many
// folders: until its rows are shown, against find walking the same tree.

#include <string>

namespace bench {

// Prints the table of the tree's rows; returns an exit status.
int measureSubfolders(const std::string &tree, const std::string &workDir, int runs);

} // namespace bench
