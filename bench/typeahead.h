// SPDX-License-Identifier: MIT
#pragma once

// Type-ahead in the file list of a shown window, sorted by name: how long the
// window's thread stalls while keys are typed, and how long until the row
// they find is selected and painted, against Qt's own search on the window's
// thread.

#include <string>
#include <vector>

namespace bench {

// Prints the type-ahead table for each folder; returns an exit status.
int measureTypeAhead(const std::vector<std::string> &folders, int runs);

} // namespace bench
